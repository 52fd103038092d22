#include "play/view/board_view.h"

#include <cmath>
#include <cstdio>

#include "gfx/text.h"
#include "play/view/layout.h"
#include "sudoku/puzzle_code.h"

namespace {

// Top-left corner of cell index i along one axis: 30 pixels a cell plus a
// 2-pixel gap before each box.
float CellOffset(float origin, int index, int box) {
    return origin + CellSize * static_cast<float>(index) + 2.0f * static_cast<float>(index / box + 1);
}

std::uint32_t CellColor(const SudokuBoard& board, int row, int column, const Palette& palette) {
    if (board.IsGiven(row, column)) return palette.givenValue;
    return board.Clashes(row, column) ? palette.clashValue : palette.playerValue;
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
    BoardOrigin = {(ScreenWidth - side) * 0.5f, (ScreenHeight - side) * 0.5f};

    BoardBackdrop.reset();
    // Untextured: drawn in the palette's backdrop colour.
    BoardBackdrop = std::make_unique<gkSprite>(0, BoardOrigin.x, BoardOrigin.y, side, side);

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

void DrawCell(const Cell& cell, const Palette& palette) {
    DrawCellFace(cell);
    DrawCellValue(cell, palette);
}

void DrawCellFace(const Cell& cell) {
    gkSprite* sprite = cell.selected ? cell.selectedSprite : cell.unselectedSprite;
    if (sprite) sprite->Render(cell.x, cell.y);
}

void DrawCellValue(const Cell& cell, const Palette& palette) {
    if (!cell.board || !cell.font) return;
    const SudokuBoard& board = *cell.board;
    const int value = CellValue(board, cell.row, cell.column);
    if (value == 0) return;
    char text[16];
    const TextStyle style{ValueScale, CellColor(board, cell.row, cell.column, palette)};
    DrawText(*cell.font, cell.x + ValueTextX, cell.y + ValueTextY, AlignLeft, style,
             CellValueText(value, text, sizeof text));
}
