#include "play/view/notes_view.h"

#include "play/session/move.h"
#include "sudoku/grid.h"
#include "sudoku/puzzle_code.h"

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
