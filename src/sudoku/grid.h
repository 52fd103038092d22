// The board's shape, for every part of the program: every game it makes is 16 x 16,
// in 4 x 4 boxes, its values 1 to 16. Grids of other sizes exist only in files, where
// the readers refuse them, and in the searches, which also work on the other square
// grids their checks use (4 x 4 to 25 x 25). One home for these numbers, for a cell's
// place (CellRef), for the rule of which cells share a row, a column or a box and the
// tables of those units and of every cell's peers (GridUnits), and for the spelling of a
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
};

// The character a value is shown as: '1'-'9' for 1 to 9, 'A'-'G' for 10 to 16; '?' for
// any other number.
constexpr char ValueChar(std::int32_t value) {
    if (value >= 1 && value <= 9) return static_cast<char>('0' + value);
    if (value >= 10 && value <= kLargestValue) return static_cast<char>('A' + (value - 10));
    return '?';
}

// The kinds of unit. Units are numbered by kind: rows 0..N-1, columns N..2N-1, boxes
// 2N..3N-1 (boxes counted row by row).
enum class UnitKind : std::uint8_t { Row, Column, Box };

// The box sides the tables below are made for: grids of 1 x 1 to 25 x 25.
constexpr std::int32_t kMinTableBoxSide = 1;
constexpr std::int32_t kMaxTableBoxSide = 5;

// The units and peers of an N x N grid in B x B boxes (N = B * B), read from tables
// made at compile time: the board's (OfBoxSide(kBoxSide)) and those of the other square
// grids the searches work on. A cell is numbered row * N + column; a row's cells run by
// column, a column's by row, a box's row by row. A cell's peers are the other cells of
// its row, then of its column, then those of its box in neither. Copying the value is
// free.
class GridUnits {
public:
    // Where a cell lies: its row, column and box, its place in the box (row by row), and
    // the band of B rows and the stack of B columns it lies in.
    struct Place {
        std::uint8_t row;
        std::uint8_t column;
        std::uint8_t box;
        std::uint8_t inBox;
        std::uint8_t band;
        std::uint8_t stack;
    };

    // The tables of box side B, 1 to 5; none for another.
    static const GridUnits* OfBoxSide(std::int32_t boxSide);

    std::int32_t Side() const { return side_; }
    std::int32_t PeerCount() const { return peerCount_; }

    // The i-th cell (0..N-1) of a unit, and all N of them.
    std::int32_t UnitCell(std::int32_t unit, std::int32_t i) const { return unitCells_[unit * side_ + i]; }
    const std::uint16_t* UnitCells(std::int32_t unit) const { return unitCells_ + unit * side_; }
    // The PeerCount() peers of a cell.
    const std::uint16_t* Peers(std::int32_t cell) const { return peers_ + cell * peerCount_; }

    std::int32_t RowOf(std::int32_t cell) const { return places_[cell].row; }
    std::int32_t ColumnOf(std::int32_t cell) const { return places_[cell].column; }
    std::int32_t BoxOf(std::int32_t cell) const { return places_[cell].box; }
    std::int32_t PlaceInBox(std::int32_t cell) const { return places_[cell].inBox; }
    std::int32_t BandOf(std::int32_t cell) const { return places_[cell].band; }
    std::int32_t StackOf(std::int32_t cell) const { return places_[cell].stack; }
    // The numbers of the units of a cell's row, column and box.
    std::int32_t RowUnit(std::int32_t cell) const { return RowOf(cell); }
    std::int32_t ColumnUnit(std::int32_t cell) const { return side_ + ColumnOf(cell); }
    std::int32_t BoxUnit(std::int32_t cell) const { return 2 * side_ + BoxOf(cell); }

    // Different cells that share a row, a column or a box.
    bool Sees(std::int32_t a, std::int32_t b) const {
        return a != b && (RowOf(a) == RowOf(b) || ColumnOf(a) == ColumnOf(b) || BoxOf(a) == BoxOf(b));
    }

    // Over tables made for box side B (grid.cpp makes them).
    constexpr GridUnits(std::int32_t boxSide, const std::uint16_t* unitCells, const std::uint16_t* peers,
                        const Place* places)
        : side_(boxSide * boxSide),
          peerCount_(3 * (boxSide * boxSide - 1) - 2 * (boxSide - 1)),
          unitCells_(unitCells),
          peers_(peers),
          places_(places) {}

private:
    std::int32_t side_;
    std::int32_t peerCount_;
    const std::uint16_t* unitCells_;
    const std::uint16_t* peers_;
    const Place* places_;
};
