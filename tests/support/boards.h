// Boards for tests: an empty 16 x 16 board with both grids all zeros.
#pragma once

#include <vector>

#include "sudoku/board.h"

inline SudokuBoard EmptyBoard() {
    SudokuBoard board;
    board.size = 16;
    board.boxSize = 4;
    board.values.assign(16, std::vector<std::int32_t>(16, 0));
    board.givens = board.values;
    return board;
}

// The givens of a puzzle with one solution, and one more value in an empty cell that
// no peer holds but the solution does not have there: no clash, and no full grid
// keeps it. The givens unchanged when no such value exists.
inline Grid DeadEndGivens(Grid givens, const Grid& solution) {
    SudokuBoard board = EmptyBoard();
    board.values = givens;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            for (int v = 1; v <= 16 && givens[r][c] == 0; ++v) {
                if (v == solution[r][c] || !board.IsAllowed(r, c, v)) continue;
                givens[r][c] = v;
                return givens;
            }
        }
    }
    return givens;
}
