#include "play/cell_marks.h"

#include "play/hint_marks.h"

namespace {

// An untextured quad of one colour through four corners (top-left, top-right,
// bottom-right, bottom-left); two equal corners make a triangle.
void DrawShape(GK& gk, const float (&xs)[4], const float (&ys)[4], std::uint32_t color) {
    Quad quad{};
    quad.tex = 0;
    quad.blend = GK_BLEND_DEFAULT;
    for (int i = 0; i < 4; ++i) {
        quad.v[i].x = xs[i];
        quad.v[i].y = ys[i];
        quad.v[i].z = 0.5f;
        quad.v[i].col = color;
    }
    gk.Gfx_RenderQuad(&quad);
}

}  // namespace

void DrawFilledRect(GK& gk, float x, float y, float w, float h, std::uint32_t color) {
    DrawShape(gk, {x, x + w, x + w, x}, {y, y, y + h, y + h}, color);
}

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
    const float line = KeyboardCellLine, x = cell.x, y = cell.y, w = cell.width, h = cell.height;
    DrawFilledRect(gk, x, y, w, line, KeyboardCellColor);                         // top
    DrawFilledRect(gk, x, y + h - line, w, line, KeyboardCellColor);              // bottom
    DrawFilledRect(gk, x, y + line, line, h - 2 * line, KeyboardCellColor);       // left
    DrawFilledRect(gk, x + w - line, y + line, line, h - 2 * line, KeyboardCellColor);  // right
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
