// The presses of the hint that teaches (hint_lesson.h) on the play aids: the first asks
// the worker and shows its reply, the second outlines the step, the third does it, each
// on the board as it stands. Owns nothing.
#pragma once

#include "play/hint/hint_lesson.h"
#include "play/session/play_aids.h"
#include "sudoku/board.h"

// H with a lesson at its first or second press on the board as it stands: shows the
// next stage and returns true; false when a new hint has to be asked for.
bool AdvanceLesson(PlayAids& aids, SudokuBoard& board);
// Hands the board as it stands (with the eliminations still true of it) to the worker.
void AskForLesson(PlayAids& aids, const SudokuBoard& board);

enum class LessonReply {
    Pending,        // the worker is still on it
    Shown,          // the first press is shown (or that there is no answer)
    Contradiction,  // the grid cannot be finished: moves must be taken back
};
// Takes the worker's reply once it is in and shows the first press.
LessonReply TakeLessonReply(PlayAids& aids);
