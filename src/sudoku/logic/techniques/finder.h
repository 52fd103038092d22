// What the technique finders share. A finder is a function of a SearchGrid (the grid
// with, per unit and value, the positions in the unit where the value is still a
// candidate, tabulated once per search) that writes the first step of its technique
// into a LogicStep, scanning as a person would, and says whether it found one. The
// families (singles.h, intersections.h, subsets.h, fish.h, wings.h) hold the finders;
// logic.h runs them easiest first. Here too: the step writer every finder fills its step
// with, and the search for k items whose masks join to k bits (subsets and fish).
// Standard library only.
#pragma once

#include <cstdint>

#include "sudoku/bit_masks.h"
#include "sudoku/logic/logic_grid.h"

constexpr std::int32_t kMaxUnits = 3 * kLogicMaxBoxSize * kLogicMaxBoxSize;
constexpr std::int32_t kMaxSide = kLogicMaxBoxSize * kLogicMaxBoxSize;

// A grid as the finders read it: the grid itself and its positions, which Tabulate fills.
struct SearchGrid {
    const LogicGrid& grid;
    // [unit][value - 1]: bit i set when the unit's i-th cell still has the value.
    std::uint32_t positions[kMaxUnits][kMaxSide];

    explicit SearchGrid(const LogicGrid& logicGrid) : grid(logicGrid) {}
    std::int32_t Side() const { return grid.Size(); }
    const GridUnits& Units() const { return grid.Units(); }
};

// Fills the positions of a loaded grid; false when the grid shows a contradiction: a
// clash, an empty cell without candidates, or a value without a place in a unit.
bool Tabulate(SearchGrid& search);

using Finder = bool (*)(const SearchGrid& search, LogicStep& step);
// A finder of a family whose patterns come in sizes (subsets, fish), and that family's
// finder of one size.
using SizedFinder = bool (*)(const SearchGrid& search, std::int32_t size, LogicStep& step);
template <SizedFinder Find, std::int32_t Size>
bool FindOfSize(const SearchGrid& search, LogicStep& step) {
    return Find(search, Size, step);
}

// Unit i (0..3N-1) in the order a person scans them: boxes, then rows, then columns.
constexpr std::int32_t ScanUnit(std::int32_t i, std::int32_t n) {
    return i < n ? 2 * n + i : i - n;
}

// Writes one step: construction empties it and names its technique.
class StepWriter {
public:
    StepWriter(const LogicGrid& grid, LogicStep& step, Technique technique);

    // The unit, unless the step names it already.
    void AddUnit(std::int32_t unit);
    // A unit that cells a and b share: their row, else their column, else their box.
    void AddSharedUnit(std::int32_t a, std::int32_t b);
    void AddCell(std::int32_t cell) { step_.cells.push_back(cell); }
    void SetValues(std::uint32_t values) { step_.values = values; }
    void Place(std::int32_t cell, std::int32_t value);
    // The elimination of those of values that are candidates of cell.
    void Eliminate(std::int32_t cell, std::uint32_t values);
    // Puts the eliminations in order, by cell then value; true when there are any (an
    // elimination step counts only when it takes something out).
    bool Finish();
    LogicStep& Step() { return step_; }

private:
    const LogicGrid& grid_;
    LogicStep& step_;
};

// The items of a combination search (a unit's cells or values, or a value's lines),
// each with its mask (the values of a cell, the places of a value).
struct CombinationItems {
    std::int32_t count = 0;
    std::int32_t item[kMaxSide] = {};
    std::uint32_t mask[kMaxSide] = {};

    // Takes an item whose mask has 2 to k bits; one with fewer or more is of no use.
    void Take(std::int32_t i, std::uint32_t m, std::int32_t k) {
        const int bits = BitCount(m);
        if (bits < 2 || bits > k) return;
        item[count] = i;
        mask[count++] = m;
    }
    // Bit item[i] for every i in chosen.
    std::uint32_t ItemBits(std::uint32_t chosen) const {
        std::uint32_t bits = 0;
        for (; chosen != 0; chosen &= chosen - 1) bits |= 1u << item[LowestBitIndex(chosen)];
        return bits;
    }
};

namespace finder_detail {

template <typename Accept>
bool Combine(const CombinationItems& items, std::int32_t k, const Accept& accept, std::int32_t start,
             std::int32_t depth, std::uint32_t joined, std::uint32_t chosen) {
    if (depth == k) return BitCount(joined) == k && accept(chosen, joined);
    for (std::int32_t i = start; i <= items.count - (k - depth); ++i) {
        const std::uint32_t next = joined | items.mask[i];
        if (BitCount(next) > k) continue;
        if (Combine(items, k, accept, i + 1, depth + 1, next, chosen | (1u << i))) return true;
    }
    return false;
}

}  // namespace finder_detail

// Looks, in order of the items, for k items whose masks join to exactly k bits, and
// asks accept(chosen, joined) of each such set (chosen: bit i for the i-th item); true at
// the first it accepts. Nothing is looked for among fewer than k items.
template <typename Accept>
bool FindCombination(const CombinationItems& items, std::int32_t k, const Accept& accept) {
    return items.count >= k && finder_detail::Combine(items, k, accept, 0, 0, 0, 0);
}
