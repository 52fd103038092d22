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
