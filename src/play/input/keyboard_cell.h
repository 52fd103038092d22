// The keyboard cell: the cell that typed values go into, moved over all 256
// cells (givens too) with the arrow keys, one cell on screen a key, stopping at
// the board's edges. It is hidden while the mouse is in use and shown again by
// the next key that acts on it. Owns only its position and flags.
#pragma once

#include "play/view/board_view.h"
#include "play/session/history.h"
#include "sudoku/board.h"

class KeyboardCell {
public:
    bool Shown() const { return shown; }
    CellRef Position() const { return CellAtSpot(spot); }

    // Shows the cell at (r, c) (clamped to the board).
    void ShowAt(CellRef cell);
    void Hide() { shown = false; }
    // Shows the cell where it starts when it was hidden: on pointerCell when the
    // pointer is on a cell, else where it last stood in this game, else on the
    // first cell (in reading order on the screen) that is not a given.
    void ShowFromHidden(CellRef pointerCell, const SudokuBoard& board);
    // One step for an arrow key code (no step past an edge); other keys do nothing.
    void Move(int key);
    // Back to the state of a new game: hidden, never placed.
    void Reset() { *this = KeyboardCell(); }

private:
    ScreenSpot spot;
    bool shown = false;
    bool placed = false;  // stood somewhere in this game
};

// The first cell, top line first and left to right on the screen, that is not a given;
// {0, 0} when every cell is one.
CellRef FirstFreeCell(const SudokuBoard& board);
// The cell strictly containing the point (as the mouse's hit test), or {-1, -1}.
CellRef CellAtPoint(const BoardView& view, float px, float py);
