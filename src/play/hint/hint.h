// The hint (H on the play screen). It never searches on the frame thread: it acts on
// the dead-end watch's verdict on the grid as it stands and on the reply of the
// hint's worker, and while either is pending it says "Hint: looking..." and acts in
// the frame the answer comes (a second H meanwhile does nothing; a change by the
// player drops it).
// On a grid that can be finished H teaches in three presses (hint_lesson.h): the
// step named, then its cells and what follows, then done. On a dead end it takes out
// the fewest of the player's values that make the grid finishable again (newest first,
// take_out_worker.h), as one undo step, and names them; when no such values are found
// it undoes one move at a time, each one the player can redo, waiting for the verdict
// on each grid, until the grid can be finished again, and says how many.
// What it did is left in the aids' message; a hint that named a step or took moves
// back counts in hintsUsed. Owns nothing.
#pragma once

#include "play/session/play_aids.h"
#include "sudoku/board.h"

// H pressed.
void GiveHint(PlayAids& aids, SudokuBoard& board);
// Every play-screen frame after the watch's update: goes on with a pending hint.
void ContinueHint(PlayAids& aids, SudokuBoard& board);
