// The hint (H on the play screen). On a grid that can still be finished it writes,
// as one undo step through the same path as a typed value, the value a completion
// of the grid has in the chosen cell: the keyboard cell while shown, else the cell
// under the pointer, when that cell is empty; otherwise (a given, a filled cell, or
// no cell) the empty cell with the fewest candidates. The keyboard cell then shows
// on the hinted cell. On a dead end it undoes steps, each one the player can redo,
// until the grid can be finished again, and says how many. When the check has no
// answer it changes nothing and says so. What it did is left in the aids' message.
// Owns nothing.
#pragma once

#include "play/play_aids.h"
#include "sudoku/board.h"

void GiveHint(PlayAids& aids, SudokuBoard& board);
