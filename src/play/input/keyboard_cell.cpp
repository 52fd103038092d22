#include "play/input/keyboard_cell.h"

#include <algorithm>

#include "engine/gk.h"

CellRef FirstFreeCell(const SudokuBoard& board) {
    for (int down = 0; down < BoardCells; ++down) {
        for (int across = 0; across < BoardCells; ++across) {
            const CellRef cell = CellAtSpot({across, down});
            if (!CellIsGiven(board, cell.row, cell.column)) return cell;
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
    spot = SpotOfCell({std::clamp(cell.row, 0, BoardCells - 1), std::clamp(cell.column, 0, BoardCells - 1)});
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
    const int across = (key == GKK_RIGHT) - (key == GKK_LEFT);
    const int down = (key == GKK_DOWN) - (key == GKK_UP);
    spot.across = std::clamp(spot.across + across, 0, BoardCells - 1);
    spot.down = std::clamp(spot.down + down, 0, BoardCells - 1);
}
