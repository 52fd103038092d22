#include "play/view/cell_marks.h"

#include "gfx/shapes.h"
#include "play/hint/hint_marks.h"

void DrawSameValueTint(GK& gk, const Cell& cell) {
    const float inset = SameValueTintInset;
    DrawFilledRect(gk, cell.x + inset, cell.y + inset, cell.width - 2 * inset, cell.height - 2 * inset,
                   SameValueTintColor);
}

void DrawClashMark(GK& gk, const Cell& cell) {
    const float right = cell.x + cell.width, top = cell.y, size = ClashMarkSize;
    DrawShape(gk, {right - size, right, right, right}, {top, top, top + size, top + size}, ClashMarkColor);
}

void DrawKeyboardOutline(GK& gk, const Cell& cell) {
    DrawFrame(gk, cell.x, cell.y, cell.width, cell.height, KeyboardCellLine, KeyboardCellColor);
}

int TintedValue(const PlayAids& aids, const SudokuBoard& board) {
    if (!aids.settings.sameValueHighlight) return 0;
    const CellRef focus = aids.FocusCell();
    return IsOnBoard(focus) ? CellValue(board, focus.row, focus.column) : 0;
}

void DrawUnderCellValue(GK& gk, const PlayAids& aids, const Cell& cell, int tintedValue) {
    if (const HintMarks* marks = aids.lesson.ShownMarks(aids.history.Revision()))
        DrawHintUnderCell(gk, *marks, aids.lesson.Detailed(), cell);
    if (tintedValue == 0 || !cell.board) return;
    const CellRef focus = aids.FocusCell();
    if (cell.row == focus.row && cell.column == focus.column) return;
    if (CellValue(*cell.board, cell.row, cell.column) == tintedValue) DrawSameValueTint(gk, cell);
}

void DrawOverCells(GK& gk, const PlayAids& aids, const BoardView& view, const SudokuBoard& board) {
    if (aids.settings.clashMarks) {
        for (const auto& line : view.cells) {
            for (const Cell& cell : line) {
                if (board.Clashes(cell.row, cell.column)) DrawClashMark(gk, cell);
            }
        }
    }
    const HintMarks* marks = aids.lesson.ShownMarks(aids.history.Revision());
    if (marks && aids.lesson.Detailed()) DrawHintOverCells(gk, *marks, view);
    if (aids.keyboard.Shown()) {
        const CellRef k = aids.keyboard.Position();
        DrawKeyboardOutline(gk, view.cells[k.row][k.column]);
    }
}
