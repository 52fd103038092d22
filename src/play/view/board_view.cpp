#include "play/view/board_view.h"

#include <cmath>
#include <cstdio>

#include "sudoku/puzzle_code.h"

namespace {

// Top-left corner of cell index i along one axis: 30 pixels a cell plus a
// 2-pixel gap before each box.
float CellOffset(float origin, int index, int box) {
    return origin + CellSize * static_cast<float>(index) + 2.0f * static_cast<float>(index / box + 1);
}

std::uint32_t CellColor(const SudokuBoard& board, int row, int column) {
    if (board.IsGiven(row, column)) return GivenColor;
    return board.Clashes(row, column) ? ClashColor : AllowedColor;
}

}  // namespace

const char* CellValueText(int value, char* out, std::size_t outSize) {
    if (value >= 1 && value <= 16) {
        std::snprintf(out, outSize, "%c", PuzzleCodeCharacter(value));
    } else {
        std::snprintf(out, outSize, "%d", value);
    }
    return out;
}

void BoardView::BuildBoardView(const BoardViewResources& resources) {
    const int box = static_cast<int>(std::sqrt(16.0));
    const float side = static_cast<float>((box + 1) * 2 + 480);
    BoardOrigin = {(800.0f - side) * 0.5f, (700.0f - side) * 0.5f};

    BoardBackdrop.reset();
    BoardBackdrop = std::make_unique<gkSprite>(0, BoardOrigin.x, BoardOrigin.y, side, side);
    BoardBackdrop->SetColor(BackdropColor, -1);

    for (int i = 0; i < BoardCells; ++i) {
        for (int j = 0; j < BoardCells; ++j) {
            Cell& cell = cells[i][j];
            cell.font = resources.font;
            cell.board = resources.board;
            cell.x = CellOffset(BoardOrigin.x, i, box);
            cell.y = CellOffset(BoardOrigin.y, j, box);
            cell.width = CellSize;
            cell.height = CellSize;
            cell.row = i;
            cell.column = j;
            cell.selectedSprite = resources.selectSprite;
            cell.unselectedSprite = resources.unselectSprite;
            cell.selected = false;
        }
    }
}

bool IsOnBoard(CellRef cell) {
    return IsBoardCell(cell.row, cell.column);
}

int CellValue(const SudokuBoard& board, int row, int column) {
    // A board of another shape than the view's (never made by the game) holds no values.
    return board.Contains(row, column) ? board.values[row][column] : 0;
}

bool CellIsGiven(const SudokuBoard& board, int row, int column) {
    return board.Contains(row, column) && board.givens[row][column] != 0;
}

void DrawCell(const Cell& cell) {
    DrawCellFace(cell);
    DrawCellValue(cell);
}

void DrawCellFace(const Cell& cell) {
    gkSprite* sprite = cell.selected ? cell.selectedSprite : cell.unselectedSprite;
    if (sprite) sprite->Render(cell.x, cell.y);
}

void DrawCellValue(const Cell& cell) {
    if (!cell.board || !cell.font) return;
    const SudokuBoard& board = *cell.board;
    const int value = CellValue(board, cell.row, cell.column);
    if (value == 0) return;
    char text[16];
    cell.font->SetColor(CellColor(board, cell.row, cell.column));
    cell.font->Render(cell.x + 7.0f, cell.y + 3.0f, AlignLeft, CellValueText(value, text, sizeof text));
}
