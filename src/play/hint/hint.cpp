#include "play/hint/hint.h"

#include <cstdio>

#include "play/hint/hint_text.h"
#include "play/hint/lesson_presses.h"
#include "sudoku/completion.h"
#include "sudoku/mistakes.h"

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

// A dead end: the take-out worker looks for the fewest values to take out.
void StartTakeOut(PlayAids& aids, const SudokuBoard& board) {
    aids.lesson.worker.Cancel();
    aids.takeOut.Submit(
        {board.givens, board.values, board.boxSize, PlayersValuesNewestFirst(board, aids.history)});
    aids.hint.takingOut = true;
    Say(aids, LookingText);
}

// "Took out 7 at row 3, column 5: with it the grid could not be finished".
void SayTakenOut(PlayAids& aids, const SudokuBoard& board, const std::vector<std::int32_t>& cells,
                 std::int32_t firstValue) {
    const std::string where = ScreenCellName(cells[0], board.size);
    const std::string value =
        firstValue >= 1 && firstValue <= BoardCells ? ValuesText(1u << (firstValue - 1)) : "?";
    char text[sizeof aids.message.text];
    if (cells.size() == 1) {
        std::snprintf(text, sizeof text, "Took out %s at %s: with it the grid could not be finished",
                      value.c_str(), where.c_str());
    } else {
        std::snprintf(text, sizeof text,
                      "Took out %s at %s and %zu more: with them the grid could not be finished",
                      value.c_str(), where.c_str(), cells.size() - 1);
    }
    Say(aids, text);
}

// The worker's answer: the values go as one undo step; with none found, moves are
// undone one at a time as before.
void ContinueTakeOut(PlayAids& aids, SudokuBoard& board) {
    TakeOutReport report;
    if (!aids.takeOut.TakeReply(report)) {
        Say(aids, LookingText);
        return;
    }
    aids.hint.takingOut = false;
    const CellRef first = report.cells.empty() ? CellRef{} : CellRef::OfIndex(report.cells[0]);
    const std::int32_t firstValue = IsOnBoard(first) ? board.values[first.row][first.column] : 0;
    if (report.cells.empty() ||
        !ApplyMove(aids.EditOf(board), ValuesRemovalMove(aids.EditOf(board), report.cells))) {
        TakeBackOne(aids, board);
        return;
    }
    aids.hint.active = false;
    aids.keyboard.ShowAt(first);
    SayTakenOut(aids, board, report.cells, firstValue);
    aids.CountHint();
}

}  // namespace

void GiveHint(PlayAids& aids, SudokuBoard& board) {
    if (aids.hint.active || board.size <= 0 || !HasShape(board.values, board.size)) return;
    if (AdvanceLesson(aids, board)) return;
    aids.hint = PendingHint{true, false, false, 0, aids.history.Revision()};
    AskForLesson(aids, board);
    ContinueHint(aids, board);
}

void ContinueHint(PlayAids& aids, SudokuBoard& board) {
    PendingHint& hint = aids.hint;
    if (!hint.active) return;
    if (aids.history.Revision() != hint.revision) {
        hint = PendingHint{};  // the player changed the grid meanwhile
        aids.lesson.Drop();
        aids.takeOut.Cancel();
        return;
    }
    if (hint.takingOut) {
        ContinueTakeOut(aids, board);
        return;
    }
    const CompletionResult* result = aids.deadEnd.ResultFor(board);
    if (!result) {
        Say(aids, LookingText);
        return;
    }
    if (result->verdict == Completion::DeadEnd) {
        aids.lesson.worker.Cancel();
        if (hint.takingBack) {
            TakeBackOne(aids, board);
        } else {
            StartTakeOut(aids, board);
        }
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
            StartTakeOut(aids, board);  // a dead end the watch could not settle
            return;
        case LessonReply::Shown:
            hint.active = false;
            return;
    }
}
