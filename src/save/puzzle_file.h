// Puzzle files: a puzzle brought in as text, either a puzzle code (sudoku/puzzle_code.h)
// or the text of a saved game. A file is read through the bounded reader, at most 64 KB,
// and never blocks on a FIFO or device; a binary file is refused before it is parsed.
// A saved game is taken only when it is whole: 513 numbers, the values and givens all
// 0 to 16, every given standing in its cell. Either way the puzzle (the givens) must
// pass the code's rule checks: no clash, and a full grid that keeps every value.
// Standard library and POSIX file calls only.
#pragma once

#include <string>

#include "sudoku/board.h"
#include "sudoku/completion.h"

// What the reader asks of the givens beyond the form.
enum class PuzzleRules {
    Check,     // no clash, and a full grid that keeps every value
    FormOnly,  // the form alone, for a caller that judges the grid itself
};

// A puzzle as it came in: its givens and the values standing in the grid.
struct PuzzleInput {
    Grid givens;             // 16 x 16; the puzzle
    Grid values;             // 16 x 16; the givens and, from a saved game, the player's values
    bool fromSavedGame = false;
};

// Reads a code or a saved game's text. False, with the reason in error and puzzle
// untouched, for anything refused.
bool ParsePuzzleText(const std::string& text, PuzzleInput& puzzle, std::string& error,
                     PuzzleRules rules = PuzzleRules::Check, const CompletionLimits& limits = {});

// The bytes of the file at path, read through the bounded reader; false, with the
// reason (starting with the path) in error, for a file that cannot be a puzzle's.
bool ReadPuzzleFileText(const std::string& path, std::string& text, std::string& error);

// ParsePuzzleText on the file at path; the reason starts with the path.
bool ReadPuzzleFile(const std::string& path, PuzzleInput& puzzle, std::string& error,
                    PuzzleRules rules = PuzzleRules::Check, const CompletionLimits& limits = {});
