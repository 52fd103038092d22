#include "play/hint/hint.h"

#include <cstdio>

#include "play/hint/lesson_presses.h"
#include "sudoku/completion.h"

namespace {

constexpr const char* LookingText = "Hint: looking...";
constexpr const char* NoWayBackText = "Hint: no earlier grid can be finished";

void Say(PlayAids& aids, const char* text) { aids.message.Set(text, aids.history.Revision()); }

// The moves taken back are done with: says how it ended.
void EndTakeBack(PlayAids& aids, Completion verdict) {
    const int undone = aids.hint.undone;
    char text[96];
    std::snprintf(text, sizeof text,
                  verdict == Completion::Unknown ? "Hint: undid %d %s, no answer yet"
                                                 : "Hint: undid %d %s to a grid that can be finished",
                  undone, undone == 1 ? "move" : "moves");
    Say(aids, text);
    if (undone > 0) aids.CountHint();
}

// One more move back on a dead end; when there is none left, no earlier grid can be
// finished and every move goes back to where it was.
void TakeBackOne(PlayAids& aids, SudokuBoard& board) {
    CellRef cell;
    if (UndoMove(aids.EditOf(board), &cell)) {
        ++aids.hint.undone;
        aids.hint.takingBack = true;
        if (IsOnBoard(cell)) aids.keyboard.ShowAt(cell);
        aids.hint.revision = aids.history.Revision();
        Say(aids, LookingText);
        return;
    }
    for (int i = 0; i < aids.hint.undone; ++i) RedoMove(aids.EditOf(board), &cell);
    aids.hint.active = false;
    Say(aids, NoWayBackText);
}

}  // namespace

void GiveHint(PlayAids& aids, SudokuBoard& board) {
    if (aids.hint.active || board.size <= 0 || !HasShape(board.values, board.size)) return;
    if (AdvanceLesson(aids, board)) return;
    aids.hint = PendingHint{true, false, 0, aids.history.Revision()};
    AskForLesson(aids, board);
    ContinueHint(aids, board);
}

void ContinueHint(PlayAids& aids, SudokuBoard& board) {
    PendingHint& hint = aids.hint;
    if (!hint.active) return;
    if (aids.history.Revision() != hint.revision) {
        hint = PendingHint{};  // the player changed the grid meanwhile
        aids.lesson.Drop();
        return;
    }
    const CompletionResult* result = aids.deadEnd.ResultFor(board);
    if (!result) {
        Say(aids, LookingText);
        return;
    }
    if (result->verdict == Completion::DeadEnd) {
        aids.lesson.worker.Cancel();
        TakeBackOne(aids, board);
        return;
    }
    if (hint.takingBack) {
        hint.active = false;
        EndTakeBack(aids, result->verdict);
        return;
    }
    switch (TakeLessonReply(aids)) {
        case LessonReply::Pending:
            Say(aids, LookingText);
            return;
        case LessonReply::Contradiction:
            TakeBackOne(aids, board);  // a dead end the watch could not settle
            return;
        case LessonReply::Shown:
            hint.active = false;
            return;
    }
}
