// The board's shape, for every part of the program: every game it makes is 16 x 16,
// in 4 x 4 boxes, its values 1 to 16. Grids of other sizes exist only in files, where
// the readers refuse them. One home for these numbers, for a cell's place (CellRef), for
// the rule of which cells share a row, a column or a box, and for the spelling of a
// value ("1"-"9", "A"-"G"). Standard library only.
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

// A cell of the board by its indices: row (the first index of the board's grids) and
// column; {-1, -1} for none. Its index runs row by row, row * 16 + column, and cells
// compare in that order.
struct CellRef {
    std::int32_t row = -1;
    std::int32_t column = -1;

    static constexpr CellRef OfIndex(std::int32_t index) { return {index / kBoardSide, index % kBoardSide}; }
    constexpr std::int32_t Index() const { return row * kBoardSide + column; }
    constexpr bool operator==(const CellRef& other) const {
        return row == other.row && column == other.column;
    }
    constexpr bool operator!=(const CellRef& other) const { return !(*this == other); }
    constexpr bool operator<(const CellRef& other) const {
        return row != other.row ? row < other.row : column < other.column;
    }
};

// The character a value is shown as: '1'-'9' for 1 to 9, 'A'-'G' for 10 to 16; '?' for
// any other number.
constexpr char ValueChar(std::int32_t value) {
    if (value >= 1 && value <= 9) return static_cast<char>('0' + value);
    if (value >= 10 && value <= kLargestValue) return static_cast<char>('A' + (value - 10));
    return '?';
}
