// Saved game: the text file that carries one board across runs ("game.save" in the
// program's folder). SudokuBoard::Save and SudokuBoard::Load, declared with the
// board in sudoku/board.h, are implemented here; this header adds the pieces that
// the command-line tool and the tests share.
//
// Format (ASCII, CR LF line ends): the size N on the first line, then N lines of
// `values` and N lines of `givens`, each a row whose every entry is a space and the
// number in decimal. The reader takes white-space separated integers and accepts
// only boards of size 16 (or an empty board, size 0). Standard library only.
#pragma once

#include <cstdint>
#include <string>

#include "sudoku/board.h"

// The only board size a saved game may hold besides 0 (the play screen shows 16 x 16).
constexpr std::int32_t kSavedBoardSize = 16;

// The exact bytes Save writes for the board; empty when Save writes nothing
// (size 0 or less, or grids that do not have the board's size).
std::string SavedGameText(const SudokuBoard& board);

// Writes bytes to a temporary file beside path and renames it over path, so that a
// failed write never truncates or destroys an existing file. True on success.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);
