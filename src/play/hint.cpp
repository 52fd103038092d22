#include "play/hint.h"

#include <cstdio>

#include "sudoku/completion.h"

namespace {

constexpr const char* NoAnswerText = "Hint: no answer yet";
constexpr const char* NoWayBackText = "Hint: no earlier grid can be finished";

// The finished background verdict when it is about these values, else a check now.
CompletionResult CheckBoard(const PlayAids& aids, const SudokuBoard& board) {
    if (const CompletionResult* known = aids.deadEnd.ResultFor(board)) return *known;
    return CheckCompletion(board.values, board.boxSize);
}

bool IsEmptyCell(const SudokuBoard& board, CellRef cell) {
    return IsOnBoard(cell) && cell.row < board.size && cell.column < board.size &&
           board.values[cell.row][cell.column] == 0 && !board.IsGiven(cell.row, cell.column);
}

// The cell the player points at (keyboard cell, else pointer) when it is empty; else
// the empty cell with the fewest candidates; {-1, -1} when no cell is empty.
CellRef HintCell(const PlayAids& aids, const SudokuBoard& board) {
    const CellRef chosen = aids.keyboard.Shown() ? aids.keyboard.Position() : aids.pointerCell;
    if (IsEmptyCell(board, chosen)) return chosen;
    const auto fewest = EmptyCellWithFewestCandidates(board.values, board.boxSize);
    if (!fewest) return {};
    return {fewest->row, fewest->column};
}

void WriteHint(PlayAids& aids, SudokuBoard& board, const Grid& completion) {
    const CellRef cell = HintCell(aids, board);
    if (!IsEmptyCell(board, cell) || !HasShape(completion, board.size)) return;
    WriteCellValue(aids.EditOf(board), cell.row, cell.column, completion[cell.row][cell.column]);
    aids.keyboard.ShowAt(cell);
    aids.message.Clear();
}

// Undoes steps until the grid can be finished. When no earlier grid can be, every
// step goes back to where it was.
void TakeBack(PlayAids& aids, SudokuBoard& board) {
    int undone = 0;
    Completion verdict = Completion::DeadEnd;
    CellRef cell;
    while (verdict == Completion::DeadEnd && aids.history.Undo(board, &cell, &aids.notes)) {
        ++undone;
        verdict = CheckCompletion(board.values, board.boxSize).verdict;
    }
    if (verdict == Completion::DeadEnd) {
        for (int i = 0; i < undone; ++i) aids.history.Redo(board, &cell, &aids.notes);
        aids.message.Set(NoWayBackText, aids.history.Revision());
        return;
    }
    if (undone > 0) aids.keyboard.ShowAt(cell);
    char text[96];
    if (verdict == Completion::Unknown) {
        std::snprintf(text, sizeof text, "Hint: undid %d %s, no answer yet", undone, undone == 1 ? "move" : "moves");
    } else {
        std::snprintf(text, sizeof text, "Hint: undid %d %s to a grid that can be finished", undone,
                      undone == 1 ? "move" : "moves");
    }
    aids.message.Set(text, aids.history.Revision());
}

}  // namespace

void GiveHint(PlayAids& aids, SudokuBoard& board) {
    if (board.size <= 0 || !HasShape(board.values, board.size)) return;
    const CompletionResult result = CheckBoard(aids, board);
    switch (result.verdict) {
        case Completion::Completable:
            WriteHint(aids, board, result.completion);
            break;
        case Completion::DeadEnd:
            TakeBack(aids, board);
            break;
        case Completion::Unknown:
            aids.message.Set(NoAnswerText, aids.history.Revision());
            break;
    }
}
