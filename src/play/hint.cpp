#include "play/hint.h"

#include <cstdio>

#include "sudoku/completion.h"

namespace {

constexpr const char* LookingText = "Hint: looking...";
constexpr const char* NoAnswerText = "Hint: no answer yet";
constexpr const char* NoWayBackText = "Hint: no earlier grid can be finished";

bool IsEmptyCell(const SudokuBoard& board, CellRef cell) {
    return board.Contains(cell.row, cell.column) && board.values[cell.row][cell.column] == 0 &&
           !board.IsGiven(cell.row, cell.column);
}

// The cell the player points at (keyboard cell, else pointer) when it is empty; else
// the empty cell with the fewest candidates; {-1, -1} when no cell is empty.
CellRef HintCell(const PlayAids& aids, const SudokuBoard& board) {
    const CellRef chosen = aids.FocusCell();
    if (IsEmptyCell(board, chosen)) return chosen;
    const auto fewest = EmptyCellWithFewestCandidates(board.values, board.boxSize);
    if (!fewest) return {};
    return {fewest->row, fewest->column};
}

void WriteHint(PlayAids& aids, SudokuBoard& board, const Grid& completion) {
    const CellRef cell = aids.hint.cell;
    if (!IsEmptyCell(board, cell) || !HasShape(completion, board.size)) return;
    WriteCellValue(aids.EditOf(board), cell.row, cell.column, completion[cell.row][cell.column]);
    aids.keyboard.ShowAt(cell);
    aids.message.Clear();
    ++aids.hintsUsed;
}

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
    if (undone > 0) ++aids.hintsUsed;
}

// One more move back on a dead end; when there is none left, no earlier grid can be
// finished and every move goes back to where it was.
void TakeBackOne(PlayAids& aids, SudokuBoard& board) {
    CellRef cell;
    if (aids.history.Undo(board, &cell, &aids.notes)) {
        ++aids.hint.undone;
        aids.hint.takingBack = true;
        if (IsOnBoard(cell)) aids.keyboard.ShowAt(cell);
        aids.hint.revision = aids.history.Revision();
        Say(aids, LookingText);
        return;
    }
    for (int i = 0; i < aids.hint.undone; ++i) aids.history.Redo(board, &cell, &aids.notes);
    aids.hint.active = false;
    Say(aids, NoWayBackText);
}

}  // namespace

void GiveHint(PlayAids& aids, SudokuBoard& board) {
    if (aids.hint.active || board.size <= 0 || !HasShape(board.values, board.size)) return;
    aids.hint = PendingHint{true, false, 0, aids.history.Revision(), HintCell(aids, board)};
    ContinueHint(aids, board);
}

void ContinueHint(PlayAids& aids, SudokuBoard& board) {
    PendingHint& hint = aids.hint;
    if (!hint.active) return;
    if (aids.history.Revision() != hint.revision) {
        hint = PendingHint{};  // the player changed the grid meanwhile
        return;
    }
    const CompletionResult* result = aids.deadEnd.ResultFor(board);
    if (!result) {
        Say(aids, LookingText);
        return;
    }
    if (result->verdict == Completion::DeadEnd) {
        TakeBackOne(aids, board);
        return;
    }
    hint.active = false;
    if (hint.takingBack) {
        EndTakeBack(aids, result->verdict);
    } else if (result->verdict == Completion::Completable) {
        WriteHint(aids, board, result->completion);
    } else {
        Say(aids, NoAnswerText);
    }
}
