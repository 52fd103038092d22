// The hint (H on the play screen). It never searches on the frame thread: it acts on
// the dead-end watch's verdict on the grid as it stands, and while that is pending it
// says "Hint: looking..." and acts in the frame the verdict comes (a second H meanwhile
// does nothing; a change by the player drops it).
// On a grid that can be finished it writes, as one undo step through the same path as
// a typed value, the value the watch's completion has in the cell chosen when H was
// pressed: the keyboard cell while shown, else the cell under the pointer, when that
// cell is empty; otherwise the empty cell with the fewest candidates. The keyboard cell then shows on it.
// On a dead end it undoes one move at a time, each one the player can redo, waiting for
// the verdict on each grid, until the grid can be finished again, and says how many.
// What it did is left in the aids' message; a hint that changed the grid counts in
// hintsUsed. Owns nothing.
#pragma once

#include "play/play_aids.h"
#include "sudoku/board.h"

// H pressed.
void GiveHint(PlayAids& aids, SudokuBoard& board);
// Every play-screen frame after the watch's update: goes on with a pending hint.
void ContinueHint(PlayAids& aids, SudokuBoard& board);
