#include "play/session/move.h"

#include <array>

#include "sudoku/grid.h"

namespace {

bool OnBoard(const SudokuBoard& board, int row, int column) {
    return board.size == kBoardSide && board.Contains(row, column);
}

bool Valid(const BoardEdit& edit) {
    return edit.board && edit.notes && edit.history;
}

// A cell's change that changes nothing yet. A value outside 0..16, which only a damaged
// game.save holds, is kept as empty: the history, and game.state with it, holds values
// up to 16 only (undoing the change empties the cell).
CellChange UnchangedCell(const BoardEdit& edit, int row, int column) {
    CellChange change;
    change.row = static_cast<std::uint8_t>(row);
    change.column = static_cast<std::uint8_t>(column);
    const int value = edit.board->values[row][column];
    change.valueBefore = change.valueAfter =
        static_cast<std::uint8_t>(value >= 0 && value <= kLargestValue ? value : 0);
    change.notesBefore = change.notesAfter = (*edit.notes)[row][column];
    return change;
}

CellNotes AllowedNotes(const SudokuBoard& board, int row, int column) {
    CellNotes notes = 0;
    for (int v = 1; v <= kLargestValue; ++v) {
        if (board.IsAllowed(row, column, v)) notes = static_cast<CellNotes>(notes | NoteBit(v));
    }
    return notes;
}

// Puts one side of a change on the board and in the notes. A value the change cannot
// hold (see UnchangedCell) is replaced by the side's value too.
void PutCell(const BoardEdit& edit, const CellChange& change, bool after) {
    const int now = edit.board->values[change.row][change.column];
    if (change.valueBefore != change.valueAfter || now < 0 || now > kLargestValue)
        edit.board->SetValue(change.row, change.column, after ? change.valueAfter : change.valueBefore);
    if (InNotesGrid(change.row, change.column))
        (*edit.notes)[change.row][change.column] = after ? change.notesAfter : change.notesBefore;
}

}  // namespace

CellNotes NoteBit(int value) {
    return value >= 1 && value <= kLargestValue ? static_cast<CellNotes>(1u << (value - 1)) : 0;
}

bool CanHoldNotes(const SudokuBoard& board, int row, int column) {
    return OnBoard(board, row, column) && board.givens[row][column] == 0 && board.values[row][column] == 0;
}

Move ValueMove(const BoardEdit& edit, int row, int column, int value) {
    Move move;
    if (!Valid(edit) || !OnBoard(*edit.board, row, column) || edit.board->IsGiven(row, column)) return move;
    if (value < 0 || value > kLargestValue || edit.board->values[row][column] == value) return move;
    CellChange cell = UnchangedCell(edit, row, column);
    cell.valueAfter = static_cast<std::uint8_t>(value);
    if (value != 0) cell.notesAfter = 0;
    move.changes.push_back(cell);
    if (value == 0) return move;
    const CellNotes bit = NoteBit(value);
    for (int r = 0; r < kBoardSide; ++r) {
        for (int c = 0; c < kBoardSide; ++c) {
            if ((r == row && c == column) || !ShareUnit(row, column, r, c) || !((*edit.notes)[r][c] & bit))
                continue;
            CellChange peer = UnchangedCell(edit, r, c);
            peer.notesAfter = static_cast<CellNotes>(peer.notesBefore & ~bit);
            move.changes.push_back(peer);
        }
    }
    return move;
}

Move NoteMove(const BoardEdit& edit, int row, int column, int value) {
    Move move;
    if (!Valid(edit) || !CanHoldNotes(*edit.board, row, column) || NoteBit(value) == 0) return move;
    CellChange change = UnchangedCell(edit, row, column);
    change.notesAfter = static_cast<CellNotes>(change.notesBefore ^ NoteBit(value));
    move.changes.push_back(change);
    return move;
}

Move CandidatesMove(const BoardEdit& edit) {
    Move move;
    if (!Valid(edit)) return move;
    for (int r = 0; r < kBoardSide; ++r) {
        for (int c = 0; c < kBoardSide; ++c) {
            if (!CanHoldNotes(*edit.board, r, c)) continue;
            const CellNotes allowed = AllowedNotes(*edit.board, r, c);
            if ((*edit.notes)[r][c] == allowed) continue;
            CellChange change = UnchangedCell(edit, r, c);
            change.notesAfter = allowed;
            move.changes.push_back(change);
        }
    }
    return move;
}

Move NotesRemovalMove(const BoardEdit& edit, const NotesGrid& remove) {
    Move move;
    if (!Valid(edit)) return move;
    for (int r = 0; r < kBoardSide; ++r) {
        for (int c = 0; c < kBoardSide; ++c) {
            const CellNotes notes = (*edit.notes)[r][c];
            if ((notes & remove[r][c]) == 0) continue;
            CellChange change;
            change.row = static_cast<std::uint8_t>(r);
            change.column = static_cast<std::uint8_t>(c);
            change.notesBefore = notes;
            change.notesAfter = static_cast<CellNotes>(notes & ~remove[r][c]);
            move.changes.push_back(change);
        }
    }
    return move;
}

Move ValuesRemovalMove(const BoardEdit& edit, const std::vector<std::int32_t>& cells) {
    Move move;
    if (!Valid(edit)) return move;
    for (std::int32_t index : cells) {
        if (index < 0 || index >= static_cast<std::int32_t>(kBoardCellCount)) continue;
        const CellRef at = CellRef::OfIndex(index);
        const Move one = ValueMove(edit, at.row, at.column, 0);
        move.changes.insert(move.changes.end(), one.changes.begin(), one.changes.end());
    }
    return move;
}

Move RestartMove(const BoardEdit& edit) {
    Move move;
    if (!Valid(edit) || edit.board->size != kBoardSide) return move;
    for (int r = 0; r < kBoardSide; ++r) {
        for (int c = 0; c < kBoardSide; ++c) {
            if (edit.board->IsGiven(r, c)) continue;
            CellChange change = UnchangedCell(edit, r, c);
            if (edit.board->values[r][c] == 0 && change.notesBefore == 0) continue;
            change.valueAfter = 0;
            change.notesAfter = 0;
            move.changes.push_back(change);
        }
    }
    return move;
}

std::vector<std::int32_t> PlayersValuesNewestFirst(const SudokuBoard& board, const History& history) {
    std::vector<std::int32_t> cells;
    if (board.size != kBoardSide || !HasShape(board.values, board.size)) return cells;
    std::array<bool, kBoardCellCount> listed{};
    auto list = [&](int row, int column) {
        const std::int32_t index = CellRef{row, column}.Index();
        if (listed[static_cast<std::size_t>(index)] || board.IsGiven(row, column) ||
            board.values[row][column] == 0)
            return;
        listed[static_cast<std::size_t>(index)] = true;
        cells.push_back(index);
    };
    const std::vector<CellChange> undo = history.UndoChanges();
    for (auto change = undo.rbegin(); change != undo.rend(); ++change)
        if (change->valueAfter != 0 && board.Contains(change->row, change->column) &&
            board.values[change->row][change->column] == change->valueAfter)
            list(change->row, change->column);
    for (int r = 0; r < kBoardSide; ++r)
        for (int c = 0; c < kBoardSide; ++c) list(r, c);
    return cells;
}

bool ApplyMove(const BoardEdit& edit, const Move& move) {
    if (!Valid(edit) || move.Empty()) return false;
    for (const CellChange& change : move.changes) PutCell(edit, change, true);
    edit.history->RecordStep(move.changes);
    return true;
}

bool UndoMove(const BoardEdit& edit, CellRef* cell) {
    if (!Valid(edit)) return false;
    const std::vector<CellChange>* step = edit.history->Undo(cell);
    if (!step) return false;
    for (auto change = step->rbegin(); change != step->rend(); ++change) PutCell(edit, *change, false);
    return true;
}

bool RedoMove(const BoardEdit& edit, CellRef* cell) {
    if (!Valid(edit)) return false;
    const std::vector<CellChange>* step = edit.history->Redo(cell);
    if (!step) return false;
    for (const CellChange& change : *step) PutCell(edit, change, true);
    return true;
}

void PutValue(SudokuBoard& board, int row, int column, int value) {
    board.SetValue(row, column, value);
}

void WriteCellValue(const BoardEdit& edit, int row, int column, int value) {
    ApplyMove(edit, ValueMove(edit, row, column, value));
}

void ToggleNote(const BoardEdit& edit, int row, int column, int value) {
    ApplyMove(edit, NoteMove(edit, row, column, value));
}

void FillCandidates(const BoardEdit& edit) {
    ApplyMove(edit, CandidatesMove(edit));
}
