// The hint that teaches: H in three presses on any grid. The first press asks the
// hint's worker (hint_worker.h) and, once its reply is in, names the step and tints
// its units; the second outlines its cells and says what follows; the third does it:
// a value is written as one undo step, the way a typed value is; values a step takes
// out leave the player's notes as one undo step, or, without such notes, are only
// shown. Where no technique applies the three presses name the values that keep a
// cell finishable, mark the cell and write one of them. Any change of the board in
// between ends the lesson (the next H starts a new one).
// The logic engine works from values alone, so the lesson keeps the eliminations its
// hints made, with the values they were made on: while the board keeps those values
// (adding others keeps an elimination true), the next hint starts from them and does
// not find the same elimination again. Owns the worker, the reply shown, the stage
// and the eliminations kept; its presses (lesson_presses.h) move it on, the hint (hint.h)
// drives them, the play aids draw its marks.
#pragma once

#include <cstdint>
#include <vector>

#include "play/hint/hint_worker.h"
#include "sudoku/board.h"

enum class LessonStage : std::uint8_t {
    None,
    Asked,  // the worker is on it
    Named,  // first press shown: the step named, its units tinted
    Shown,  // second press shown: its cells marked, what follows said
    Done,   // third press done
};

struct HintLesson {
    HintWorker worker;
    LessonStage stage = LessonStage::None;
    std::uint64_t revision = 0;  // the history's revision the stage was reached at
    HintReply reply;             // the step shown
    Grid values;                 // the values the eliminations below were made on
    std::vector<Elimination> eliminated;

    // Ends the lesson under way; the eliminations stay for as long as the values do.
    void Drop();
    // Forgets the lesson and its eliminations (a new or restored game).
    void Reset();
    // The marks to draw while the lesson stands at this revision; null otherwise.
    const HintMarks* ShownMarks(std::uint64_t nowRevision) const;
    // The second press has been shown: cells and target are drawn too.
    bool Detailed() const { return stage == LessonStage::Shown || stage == LessonStage::Done; }
};
