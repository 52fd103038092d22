#include "play/view/cell_marks.h"

#include "gfx/shapes.h"
#include "play/hint/hint_chain.h"
#include "play/hint/hint_marks.h"

void DrawSameValueTint(GK& gk, const Cell& cell, const Palette& palette) {
    const float inset = SameValueTintInset;
    DrawFilledRect(gk, cell.x + inset, cell.y + inset, cell.width - 2 * inset, cell.height - 2 * inset,
                   palette.sameValueTint);
}

void DrawClashMark(GK& gk, const Cell& cell, const Palette& palette) {
    const float right = cell.x + cell.width, top = cell.y, size = ClashMarkSize;
    DrawTriangle(gk, right - size, top, right, top, right, top + size, palette.clashMark);
}

void DrawKeyboardOutline(GK& gk, const Cell& cell, const Palette& palette) {
    DrawFrame(gk, cell.x, cell.y, cell.width, cell.height, KeyboardCellLine, palette.keyboardFrame);
}

void DrawMistakeMark(GK& gk, const Cell& cell, const Palette& palette) {
    const float inset = MistakeBarInset;
    DrawFilledRect(gk, cell.x + inset, cell.y + cell.height - inset - MistakeBarHeight,
                   cell.width - 2 * inset, MistakeBarHeight, palette.mistakeMark);
}

int TintedValue(const PlayAids& aids, const SudokuBoard& board) {
    if (!aids.settings.sameValueHighlight) return 0;
    const CellRef focus = aids.FocusCell();
    return IsOnBoard(focus) ? CellValue(board, focus.row, focus.column) : 0;
}

void DrawUnderCellValue(GK& gk, const PlayAids& aids, const Cell& cell, int tintedValue,
                        const Palette& palette) {
    if (const HintMarks* marks = aids.lesson.ShownMarks(aids.history.Revision()))
        DrawHintUnderCell(gk, *marks, aids.lesson.Detailed(), cell, palette);
    if (tintedValue == 0 || !cell.board) return;
    const CellRef focus = aids.FocusCell();
    if (cell.row == focus.row && cell.column == focus.column) return;
    if (CellValue(*cell.board, cell.row, cell.column) == tintedValue) DrawSameValueTint(gk, cell, palette);
}

void DrawOverCells(GK& gk, const PlayAids& aids, const BoardView& view, const SudokuBoard& board,
                   const Palette& palette) {
    if (aids.settings.clashMarks || palette.clashMarkAlways) {
        for (const auto& line : view.cells) {
            for (const Cell& cell : line) {
                if (board.Clashes(cell.row, cell.column)) DrawClashMark(gk, cell, palette);
            }
        }
    }
    if (aids.settings.mistakeMarks) {
        for (const auto& line : view.cells) {
            for (const Cell& cell : line) {
                if (aids.mistakes.Marks(board, cell.row, cell.column)) DrawMistakeMark(gk, cell, palette);
            }
        }
    }
    const HintMarks* marks = aids.lesson.ShownMarks(aids.history.Revision());
    if (marks && aids.lesson.Detailed()) DrawHintOverCells(gk, *marks, view, palette);
    if (marks && aids.lesson.Detailed()) DrawHintChain(gk, aids.lesson.reply.answer.step, view, palette);
    if (aids.keyboard.Shown()) {
        const CellRef k = aids.keyboard.Position();
        DrawKeyboardOutline(gk, view.cells[k.row][k.column], palette);
    }
}
