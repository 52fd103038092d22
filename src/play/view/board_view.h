// The board view: the 16 x 16 on-screen cells of the Playing state, the grey
// backdrop square behind them, and their drawing. The view holds no game data of
// its own: each cell points at the board and reads its value, whether it is a
// given and whether it clashes every time it is drawn. A ScreenSpot names where a
// cell stands on screen, for code that walks the screen rather than the board.
// BoardView owns the cell grid and the backdrop sprite; the cells point at the
// shared font, board and sprites without owning them.
#pragma once

#include <array>
#include <memory>

#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "sudoku/board.h"
#include "sudoku/grid.h"

// One on-screen cell. A placeholder has null pointers, -1 geometry and index.
struct Cell {
    gkFont* font = nullptr;
    SudokuBoard* board = nullptr;
    float x = -1.0f;
    float y = -1.0f;
    float width = -1.0f;
    float height = -1.0f;
    int row = -1;
    int column = -1;
    gkSprite* selectedSprite = nullptr;
    gkSprite* unselectedSprite = nullptr;
    bool selected = false;  // the pointer rests on this non-given cell
};

constexpr int BoardCells = kBoardSide;
constexpr float CellSize = 30.0f;
// A value's text: its top-left corner inside the cell, and its scale.
constexpr float ValueTextX = 7.0f, ValueTextY = 3.0f, ValueScale = 1.0f;

using CellGrid = std::array<std::array<Cell, BoardCells>, BoardCells>;

// True when cell is one of the view's 256 cells.
bool IsOnBoard(CellRef cell);

// A cell's place on screen, in cells from the board's top-left corner. The view draws
// the board's row index along x and its column index along y; these two say it once.
struct ScreenSpot {
    int across = 0;  // 0 at the left
    int down = 0;    // 0 at the top
};
constexpr ScreenSpot SpotOfCell(CellRef cell) {
    return {cell.row, cell.column};
}
constexpr CellRef CellAtSpot(ScreenSpot spot) {
    return {spot.across, spot.down};
}

struct Point {
    float x = 0, y = 0;
};

// What the view draws with; all shared, none owned.
struct BoardViewResources {
    gkFont* font = nullptr;
    SudokuBoard* board = nullptr;
    gkSprite* selectSprite = nullptr;
    gkSprite* unselectSprite = nullptr;
};

// A cell's face (highlighted or plain sprite), then its value: DrawCellFace, DrawCellValue.
void DrawCell(const Cell& cell, const Palette& palette);
void DrawCellFace(const Cell& cell);
// The value's text in the palette's colour for it (a given's, a clash's, else the
// player's); nothing for an empty cell.
void DrawCellValue(const Cell& cell, const Palette& palette);
// The board's value at a cell, 0 for a cell outside the board.
int CellValue(const SudokuBoard& board, int row, int column);
// Whether a cell is a given; false for a cell outside the board.
bool CellIsGiven(const SudokuBoard& board, int row, int column);

class BoardView {
public:
    CellGrid cells{};  // 16 x 16 placeholders until the first BuildBoardView
    std::unique_ptr<gkSprite> BoardBackdrop;
    Point BoardOrigin;

    // Places all 256 cells (none selected) and makes a new backdrop, releasing the old one.
    void BuildBoardView(const BoardViewResources& resources);
    // Backdrop at the origin, then every cell row by row.
    void Draw(const Palette& palette) {
        DrawWith([](const Cell&) {}, palette);
    }
    // As Draw, with under(cell) called for every cell between its face and its
    // value: what is drawn there lies under the value's text.
    template <typename UnderValue>
    void DrawWith(UnderValue&& under, const Palette& palette) {
        if (BoardBackdrop) {
            BoardBackdrop->SetColor(palette.boardBackdrop, -1);
            BoardBackdrop->Render(BoardOrigin.x, BoardOrigin.y);
        }
        for (const auto& row : cells) {
            for (const Cell& cell : row) {
                DrawCellFace(cell);
                under(cell);
                DrawCellValue(cell, palette);
            }
        }
    }
};

// Text of a cell value: 10..16 as "A".."G", anything else in decimal.
// Writes into out (at least 12 bytes) and returns it.
const char* CellValueText(int value, char* out, std::size_t outSize);
