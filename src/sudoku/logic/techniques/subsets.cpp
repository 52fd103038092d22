// Naked and hidden subsets: per unit, the combination search over its cells' candidates
// or its values' positions.
#include "sudoku/logic/techniques/subsets.h"

namespace {

Technique NakedOfSize(std::int32_t k) {
    return static_cast<Technique>(static_cast<int>(Technique::NakedPair) + 2 * (k - 2));
}

Technique HiddenOfSize(std::int32_t k) {
    return static_cast<Technique>(static_cast<int>(Technique::HiddenPair) + 2 * (k - 2));
}

// The combination search of size k in every unit, in scan order: its items are the
// unit's positions 0..N-1 (cells, or values) with the masks maskOf(unit, i) gives;
// accept(unit, items, joined) hears of each set found, its items as bits.
template <typename MaskOf, typename Accept>
bool FindInUnits(const SearchGrid& search, std::int32_t k, const MaskOf& maskOf, const Accept& accept) {
    const std::int32_t n = search.Side();
    for (std::int32_t i = 0; i < 3 * n; ++i) {
        const std::int32_t unit = ScanUnit(i, n);
        CombinationItems items;
        for (std::int32_t j = 0; j < n; ++j) items.Take(j, maskOf(unit, j), k);
        const auto found = [&](std::uint32_t chosen, std::uint32_t joined) {
            return accept(unit, items.ItemBits(chosen), joined);
        };
        if (FindCombination(items, k, found)) return true;
    }
    return false;
}

}  // namespace

bool FindNakedSubset(const SearchGrid& search, std::int32_t k, LogicStep& step) {
    const GridUnits& units = search.Units();
    const auto candidates = [&](std::int32_t unit, std::int32_t p) {
        return search.grid.Candidates(units.UnitCell(unit, p));
    };
    // k cells holding only k values: no other cell of the unit can have them.
    const auto accept = [&](std::int32_t unit, std::uint32_t inSubset, std::uint32_t joined) {
        StepWriter writer(search.grid, step, NakedOfSize(k));
        writer.AddUnit(unit);
        writer.SetValues(joined);
        for (std::int32_t p = 0; p < search.Side(); ++p) {
            const std::int32_t cell = units.UnitCell(unit, p);
            if (inSubset & (1u << p)) {
                writer.AddCell(cell);
            } else {
                writer.Eliminate(cell, joined);
            }
        }
        return writer.Finish();
    };
    return FindInUnits(search, k, candidates, accept);
}

bool FindHiddenSubset(const SearchGrid& search, std::int32_t k, LogicStep& step) {
    const GridUnits& units = search.Units();
    const auto places = [&](std::int32_t unit, std::int32_t v) { return search.positions[unit][v]; };
    // k values with only k places: those places can hold nothing else.
    const auto accept = [&](std::int32_t unit, std::uint32_t subset, std::uint32_t joined) {
        StepWriter writer(search.grid, step, HiddenOfSize(k));
        writer.AddUnit(unit);
        writer.SetValues(subset);
        for (std::uint32_t m = joined; m != 0; m &= m - 1) {
            const std::int32_t cell = units.UnitCell(unit, LowestBitIndex(m));
            writer.AddCell(cell);
            writer.Eliminate(cell, ~subset);
        }
        return writer.Finish();
    };
    return FindInUnits(search, k, places, accept);
}
