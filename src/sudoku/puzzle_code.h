// Puzzle code: a 16 x 16 grid written as 256 characters, so that a puzzle can be passed
// around as text, printed and typed back in. The cells run row by row as the player sees
// the board, top row first, each row left to right. The board view draws a grid's first
// index across and its second down (play/view/board_view.h), so the code's first 16
// characters are values[0..15][0], the next 16 values[0..15][1], and so on: the
// transpose of the saved game's value block, whose lines are the columns on screen.
// '1'-'9' and 'A'-'G' stand for the values 1 to 16, '.' for an empty cell.
//
// Reading is lenient about form and strict about content: white space and line breaks
// may stand anywhere (16 lines of 16 read the same as one line), letters may be lower
// case, and '0', '_' and '-' also mean an empty cell. Anything else is refused with a
// message that says where ("character 37 is 'Z'", "255 cells, 256 needed"), and so is a
// grid with a clash among its values or one that no full grid extends. Messages name a
// cell as the code does: "line 3, position 7" is the 7th character of the code's 3rd
// group of 16, the 7th cell from the left in the 3rd row from the top. This module owns
// the code's form and its reader (the values' characters are grid.h's); it reads text
// only (files are save/puzzle_file.h's). Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sudoku/board.h"
#include "sudoku/completion.h"
#include "sudoku/grid.h"

// Lines of the code and cells per line: the game's one board size.
constexpr std::int32_t kCodeSide = kBoardSide;
constexpr std::int32_t kCodeBoxSide = kBoxSide;
constexpr std::size_t kCodeCells = kBoardCellCount;
// The longest text the reader looks at; a file or clipboard holding more is no code.
constexpr std::size_t kMaxPuzzleTextBytes = 64u * 1024u;

// The cell that character k (0..255) of a code stands for: the k-th in the order the
// board is drawn, so the row runs fastest (the board view draws rows across).
constexpr CellRef CodeCell(std::size_t k) {
    return {static_cast<std::int32_t>(k % kCodeSide), static_cast<std::int32_t>(k / kCodeSide)};
}

// The code's character for a value: '.' for 0, else the value's own (grid.h's
// ValueChar: '1'-'9', 'A'-'G'); '?' outside 0..16.
char PuzzleCodeCharacter(std::int32_t value);

// The 256-character code of a grid; empty when the grid is not 16 x 16 or holds a value
// outside 0..16.
std::string FormatPuzzleCode(const Grid& grid);

// Reads the cells of a code, checking only its form. False, with the reason in error and
// grid untouched, for a character that is no cell and no white space, or a count of
// cells other than 256.
bool ReadCodeCells(std::string_view text, Grid& grid, std::string& error);

// The first clash among the grid's values in code order, as "clash: F at line 2,
// position 5 and line 4, position 5"; empty when there is none or the grid is not 16 x 16.
// Values outside 1..16 are passed over.
std::string DescribeClash(const Grid& grid);

// The rules a puzzle must meet: no clash, and a full grid that keeps every value.
// False, with the reason in error, otherwise; also when the completion check spends
// its budget without an answer ("could not be checked"), since a grid that may be a
// dead end is never passed as a puzzle.
bool CheckPuzzleGrid(const Grid& grid, std::string& error, const CompletionLimits& limits = {});
