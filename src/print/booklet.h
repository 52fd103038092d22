// Booklet: a printable PDF of puzzles, drawn as vectors with Cairo. One puzzle a page
// (A4, or US Letter): the 16 x 16 grid with thick box lines and the givens in DejaVu
// Sans, and under it the level and the puzzle's code (sudoku/puzzle_code.h) in small
// type, so that the puzzle can be typed back in. The last pages hold the solutions, four
// to a page, each marked with what it is (a classic puzzle may have many solutions, so
// its grid is "one completion"). The grid is drawn as the game shows it: the board's
// row index runs from left to right and the column index from top to bottom, so a
// puzzle typed in from its code looks in the game as it does on paper. Cairo's PDF
// surface embeds the fonts it uses.
//
// A single puzzle prints the same way as a sheet of one page, without its solution (P
// on the play screen).
//
// Where the puzzles come from is the caller's choice (a PuzzleSource): the game's own
// generator or the logic generator (one solution each). The game (P, --booklet) and the
// sudoku-gen tool share this module; it alone links Cairo. Owns nothing beyond the
// Cairo objects of one rendering.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sudoku/board.h"

struct BookletPuzzle {
    Grid givens;               // 16 x 16, 0 = empty
    Grid solution;             // a full grid that keeps every given
    std::string levelName;     // under the grid, e.g. "Medium"
    std::string solutionNote;  // beside the solution, e.g. "one completion"
};

// Makes the puzzle of one seed at one level; false, with the reason in error, when it cannot.
using PuzzleSource =
    std::function<bool(std::uint32_t seed, std::int32_t level, BookletPuzzle& puzzle, std::string& error)>;

// The game's own generator (the one behind New Game) seeded with seed, so that the puzzle
// is the one `sudoku-gen --seed S --level L` makes; the solution shown is one completion
// found by the completion check.
bool MakeClassicPuzzle(std::uint32_t seed, std::int32_t level, BookletPuzzle& puzzle, std::string& error);
// The logic generator's puzzle of the seed (as `sudoku-gen --logic --seed S` makes it): one
// solution, graded as the level asks, and that solution.
bool MakeLogicBookletPuzzle(std::uint32_t seed, std::int32_t level, BookletPuzzle& puzzle,
                            std::string& error);

enum class PaperSize { A4, Letter };

constexpr std::uint32_t kMaxBookletPuzzles = 1000;

struct BookletRequest {
    std::uint32_t count = 1;  // 1 .. kMaxBookletPuzzles
    std::int32_t level = Medium;
    std::uint32_t firstSeed = 1;  // puzzle i (from 0) has the seed firstSeed + i, modulo 2^32
    PaperSize paper = PaperSize::A4;
};

// The puzzles of a request, in order; false with the reason when one cannot be made.
bool MakeBookletPuzzles(const BookletRequest& request, const PuzzleSource& source,
                        std::vector<BookletPuzzle>& puzzles, std::string& error);

// The PDF bytes of a booklet; false with the reason when Cairo reports an error.
bool RenderBooklet(const std::vector<BookletPuzzle>& puzzles, PaperSize paper, std::string& pdf,
                   std::string& error);

// The PDF bytes of one page: the puzzle, its level and its code, without its solution.
bool RenderPuzzleSheet(const BookletPuzzle& puzzle, PaperSize paper, std::string& pdf, std::string& error);

// Frees the fonts Cairo and fontconfig keep between renderings, so that a leak check
// sees a clean exit. Only once no other thread renders (a program's end).
void ReleasePrintFonts();

// Pages of a booklet of count puzzles: one each, and a page for every four solutions.
std::uint32_t BookletPages(std::uint32_t count);
