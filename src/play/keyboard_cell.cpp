#include "play/keyboard_cell.h"

#include <algorithm>

#include "engine/gk.h"

CellRef FirstFreeCell(const SudokuBoard& board) {
    // The screen's lines run along the board's column index.
    for (int column = 0; column < BoardCells; ++column) {
        for (int row = 0; row < BoardCells; ++row) {
            if (!CellIsGiven(board, row, column)) return {row, column};
        }
    }
    return {0, 0};
}

CellRef CellAtPoint(const BoardView& view, float px, float py) {
    for (const auto& line : view.cells) {
        for (const Cell& cell : line) {
            if (cell.x < px && px < cell.x + cell.width && cell.y < py && py < cell.y + cell.height)
                return {cell.row, cell.column};
        }
    }
    return {};
}

void KeyboardCell::ShowAt(CellRef cell) {
    row = std::clamp(cell.row, 0, BoardCells - 1);
    column = std::clamp(cell.column, 0, BoardCells - 1);
    shown = true;
    placed = true;
}

void KeyboardCell::ShowFromHidden(CellRef pointerCell, const SudokuBoard& board) {
    if (IsOnBoard(pointerCell)) {
        ShowAt(pointerCell);
    } else if (placed) {
        shown = true;
    } else {
        ShowAt(FirstFreeCell(board));
    }
}

void KeyboardCell::Move(int key) {
    switch (key) {
        case GKK_LEFT:
            row = std::max(row - 1, 0);
            break;
        case GKK_RIGHT:
            row = std::min(row + 1, BoardCells - 1);
            break;
        case GKK_UP:
            column = std::max(column - 1, 0);
            break;
        case GKK_DOWN:
            column = std::min(column + 1, BoardCells - 1);
            break;
        default:
            break;
    }
}
