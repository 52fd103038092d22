#include "play/session/notes.h"

#include "sudoku/grid.h"
#include "sudoku/puzzle_code.h"

namespace {

bool OnBoard(const SudokuBoard& board, int row, int column) {
    return board.size == BoardCells && board.Contains(row, column);
}

bool Valid(const BoardEdit& edit) { return edit.board && edit.notes && edit.history; }

// A cell's change as the history keeps it. A value outside 0..16, which only a damaged
// game.save holds, is kept as empty: the history, and game.state with it, holds values
// up to 16 only (undoing the change empties the cell).
CellChange ChangeOf(const BoardEdit& edit, int row, int column) {
    CellChange change;
    change.row = static_cast<std::uint8_t>(row);
    change.column = static_cast<std::uint8_t>(column);
    const int value = edit.board->values[row][column];
    change.valueBefore = change.valueAfter =
        static_cast<std::uint8_t>(value >= 0 && value <= BoardCells ? value : 0);
    change.notesBefore = change.notesAfter = (*edit.notes)[row][column];
    return change;
}

// Takes value out of the notes of every peer of (row, column), as changes of the open step.
void ClearPeerNotes(const BoardEdit& edit, int row, int column, int value) {
    const CellNotes bit = NoteBit(value);
    for (int r = 0; r < BoardCells; ++r) {
        for (int c = 0; c < BoardCells; ++c) {
            if ((r == row && c == column) || !ShareUnit(row, column, r, c)) continue;
            CellNotes& notes = (*edit.notes)[r][c];
            if (!(notes & bit)) continue;
            CellChange change = ChangeOf(edit, r, c);
            notes = static_cast<CellNotes>(notes & ~bit);
            change.notesAfter = notes;
            edit.history->RecordChange(change, false);
        }
    }
}

CellNotes AllowedNotes(const SudokuBoard& board, int row, int column) {
    CellNotes notes = 0;
    for (int v = 1; v <= BoardCells; ++v) {
        if (board.IsAllowed(row, column, v)) notes = static_cast<CellNotes>(notes | NoteBit(v));
    }
    return notes;
}

}  // namespace

CellNotes NoteBit(int value) {
    return value >= 1 && value <= BoardCells ? static_cast<CellNotes>(1u << (value - 1)) : 0;
}

bool CanHoldNotes(const SudokuBoard& board, int row, int column) {
    return OnBoard(board, row, column) && board.givens[row][column] == 0 && board.values[row][column] == 0;
}

void WriteCellValue(const BoardEdit& edit, int row, int column, int value) {
    if (!Valid(edit) || !OnBoard(*edit.board, row, column) || edit.board->IsGiven(row, column)) return;
    if (value < 0 || value > BoardCells || edit.board->values[row][column] == value) return;
    CellChange change = ChangeOf(edit, row, column);
    edit.board->SetValue(row, column, value);
    if (value != 0) (*edit.notes)[row][column] = 0;
    change.valueAfter = static_cast<std::uint8_t>(value);
    change.notesAfter = (*edit.notes)[row][column];
    edit.history->RecordChange(change, true);
    if (value != 0) ClearPeerNotes(edit, row, column, value);
}

void ToggleNote(const BoardEdit& edit, int row, int column, int value) {
    if (!Valid(edit) || !CanHoldNotes(*edit.board, row, column) || NoteBit(value) == 0) return;
    CellChange change = ChangeOf(edit, row, column);
    CellNotes& notes = (*edit.notes)[row][column];
    notes = static_cast<CellNotes>(notes ^ NoteBit(value));
    change.notesAfter = notes;
    edit.history->RecordChange(change, true);
}

void FillCandidates(const BoardEdit& edit) {
    if (!Valid(edit)) return;
    bool first = true;
    for (int r = 0; r < BoardCells; ++r) {
        for (int c = 0; c < BoardCells; ++c) {
            if (!CanHoldNotes(*edit.board, r, c)) continue;
            const CellNotes allowed = AllowedNotes(*edit.board, r, c);
            if ((*edit.notes)[r][c] == allowed) continue;
            CellChange change = ChangeOf(edit, r, c);
            (*edit.notes)[r][c] = allowed;
            change.notesAfter = allowed;
            edit.history->RecordChange(change, first);
            first = false;
        }
    }
}

void DrawCellNotes(gkFont& font, const Cell& cell, CellNotes notes, const Palette& palette) {
    if (notes == 0 || !cell.board || CellValue(*cell.board, cell.row, cell.column) != 0) return;
    font.SetColor(palette.note);
    for (int v = 1; v <= BoardCells; ++v) {
        if (!(notes & NoteBit(v))) continue;
        const char text[2] = {PuzzleCodeCharacter(v), '\0'};
        const float x = cell.x + NotesInset + NotesSlot * static_cast<float>((v - 1) % 4);
        const float y = cell.y + NotesInset + NotesSlot * static_cast<float>((v - 1) / 4);
        font.Render(x, y, AlignLeft, text);
    }
}
