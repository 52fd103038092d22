// The board's shape, for every part of the program: every game it makes is 16 x 16,
// in 4 x 4 boxes, its values 1 to 16. Grids of other sizes exist only in files, where
// the readers refuse them. One home for these numbers and for the rule of which cells
// share a row, a column or a box. Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::int32_t kBoardSide = 16;
constexpr std::int32_t kBoxSide = 4;
constexpr std::int32_t kLargestValue = kBoardSide;
constexpr std::size_t kBoardCellCount = static_cast<std::size_t>(kBoardSide) * kBoardSide;

// True when (row, column) is one of the board's cells.
constexpr bool IsBoardCell(std::int32_t row, std::int32_t column) {
    return row >= 0 && row < kBoardSide && column >= 0 && column < kBoardSide;
}

// True when the two cells share a row, a column or a box (a cell shares all with itself).
constexpr bool ShareUnit(std::int32_t row, std::int32_t column, std::int32_t otherRow,
                         std::int32_t otherColumn) {
    return row == otherRow || column == otherColumn ||
           (row / kBoxSide == otherRow / kBoxSide && column / kBoxSide == otherColumn / kBoxSide);
}
