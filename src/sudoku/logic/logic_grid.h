// The logic engine's grid: the values of a board and, per empty cell, the values still
// possible there (its candidates), and the steps that change it (LogicStep: a placement,
// or eliminations of candidates). The searches for steps are logic.h's.
//
// Box sizes 2 to 5 (4 x 4 to 25 x 25). A cell is numbered row * N + column, where row is
// the first index of the board's grids (the line of the value block in the saved-game
// file) and column the second; its units and peers are those of grid.h. Candidates are
// bit masks, bit v-1 for value v. The grid is a fixed-size value: copying it allocates
// nothing. Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/grid.h"
#include "sudoku/logic/technique.h"

constexpr std::int32_t kLogicMinBoxSize = 2;
constexpr std::int32_t kLogicMaxBoxSize = 5;
constexpr std::int32_t kLogicMaxCells = 625;

struct LogicUnit {
    UnitKind kind = UnitKind::Row;
    std::int32_t index = 0;  // 0..N-1; boxes counted row by row
    bool operator==(const LogicUnit& other) const { return kind == other.kind && index == other.index; }
};

struct Elimination {
    std::int32_t cell = 0;
    std::int32_t value = 0;  // 1..N
    bool operator==(const Elimination& other) const { return cell == other.cell && value == other.value; }
};

// One end of a chain's link: a value in one cell, or in a group of cells of one box that
// lie in one row or column (the value is in one of them, or in none). colour tells the
// two sides of the chain apart: 0 for the candidates a colouring or chain takes as false
// at its start, 1 for those that are then true (and the other way round).
struct ChainNode {
    std::int32_t value = 0;  // 1..N
    std::int32_t count = 0;  // cells in use, 1..kLogicMaxBoxSize
    std::array<std::int32_t, kLogicMaxBoxSize> cells{};
    std::int32_t colour = 0;
    bool operator==(const ChainNode& other) const {
        return value == other.value && count == other.count && cells == other.cells;
    }
};

// A link of a chain: strong when at least one end is true, weak when not both are.
struct ChainLink {
    ChainNode from;
    ChainNode to;
    bool strong = false;
};

// One step: what it is, what it looks at (for a hint to mark) and what follows from it.
struct LogicStep {
    Technique technique = Technique::NakedSingle;
    std::vector<LogicUnit> units;           // the units the step reasons about
    std::vector<std::int32_t> cells;        // the cells of its pattern (a single: the cell placed)
    std::uint32_t values = 0;               // the values of its pattern, bit v-1
    std::int32_t placeCell = -1;            // a placement: its cell, else -1
    std::int32_t placeValue = 0;            // and its value
    std::vector<Elimination> eliminations;  // else these, by cell then value; never empty
    std::vector<ChainLink> chain;           // a colouring's or a chain's links, in order; else empty

    bool IsPlacement() const { return placeCell >= 0; }
};

// The values of a grid and the candidates of its empty cells.
class LogicGrid {
public:
    // From the board's values (0 = empty): each empty cell gets the values its row,
    // column and box leave. False for a box size outside 2..5, a grid of another shape
    // or a value outside 0..N; a clash loads and is reported by HasClash.
    bool Load(const Grid& values, std::int32_t boxSize);

    std::int32_t BoxSize() const { return boxSize_; }
    std::int32_t Size() const { return n_; }
    std::int32_t CellCount() const { return n_ * n_; }
    // The units and peers of the grid's shape; only once a grid is loaded.
    const GridUnits& Units() const { return *units_; }
    std::int32_t Value(std::int32_t cell) const { return values_[cell]; }
    // The candidates of an empty cell; 0 for a filled one.
    std::uint32_t Candidates(std::int32_t cell) const { return candidates_[cell]; }
    std::int32_t EmptyCells() const { return empty_; }
    // Two equal values in a row, column or box of the loaded values, or a value placed
    // that was no candidate of its cell: the grid has no completion.
    bool HasClash() const { return clash_; }

    // Writes value into an empty cell and takes it from the candidates of its peers.
    void Place(std::int32_t cell, std::int32_t value);
    // Takes a value from an empty cell's candidates; true when it was there.
    bool Eliminate(std::int32_t cell, std::int32_t value);
    void Apply(const LogicStep& step);

private:
    const GridUnits* units_ = nullptr;
    std::int32_t boxSize_ = 0;
    std::int32_t n_ = 0;
    std::int32_t empty_ = 0;
    bool clash_ = false;
    std::array<std::uint32_t, kLogicMaxCells> candidates_{};
    std::array<std::uint8_t, kLogicMaxCells> values_{};
};

// "r3c12" for a cell of an N x N grid: row and column counted from 1.
std::string CellName(std::int32_t cell, std::int32_t n);
// "<technique>: <what>": one placement "r3c12=7", or eliminations "r3c12-7 r4c1-7";
// a step with a chain adds it: " | 7r3c12=7r3c1-7{r5c1 r6c1}=..." (= strong, - weak).
std::string StepText(const LogicStep& step, std::int32_t n);
// "7r3c12" for a chain's node, "7{r5c1 r6c1}" for a group.
std::string ChainNodeText(const ChainNode& node, std::int32_t n);
