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

}  // namespace

bool FindNakedSubset(const SearchGrid& search, std::int32_t k, LogicStep& step) {
    const std::int32_t n = search.Side();
    const GridUnits& units = search.Units();
    for (std::int32_t i = 0; i < 3 * n; ++i) {
        const std::int32_t unit = ScanUnit(i, n);
        CombinationItems cells;
        for (std::int32_t p = 0; p < n; ++p)
            cells.Take(p, search.grid.Candidates(units.UnitCell(unit, p)), k);
        // k cells holding only k values: no other cell of the unit can have them.
        const auto accept = [&](std::uint32_t chosen, std::uint32_t joined) {
            StepWriter writer(search.grid, step, NakedOfSize(k));
            writer.AddUnit(unit);
            writer.SetValues(joined);
            const std::uint32_t inSubset = cells.ItemBits(chosen);
            for (std::int32_t p = 0; p < n; ++p) {
                const std::int32_t cell = units.UnitCell(unit, p);
                if (inSubset & (1u << p)) {
                    writer.AddCell(cell);
                } else {
                    writer.Eliminate(cell, joined);
                }
            }
            return writer.Finish();
        };
        if (FindCombination(cells, k, accept)) return true;
    }
    return false;
}

bool FindHiddenSubset(const SearchGrid& search, std::int32_t k, LogicStep& step) {
    const std::int32_t n = search.Side();
    const GridUnits& units = search.Units();
    for (std::int32_t i = 0; i < 3 * n; ++i) {
        const std::int32_t unit = ScanUnit(i, n);
        CombinationItems values;
        for (std::int32_t v = 0; v < n; ++v) values.Take(v, search.positions[unit][v], k);
        // k values with only k places: those places can hold nothing else.
        const auto accept = [&](std::uint32_t chosen, std::uint32_t joined) {
            StepWriter writer(search.grid, step, HiddenOfSize(k));
            writer.AddUnit(unit);
            const std::uint32_t subset = values.ItemBits(chosen);
            writer.SetValues(subset);
            for (std::uint32_t m = joined; m != 0; m &= m - 1) {
                const std::int32_t cell = units.UnitCell(unit, LowestBitIndex(m));
                writer.AddCell(cell);
                writer.Eliminate(cell, ~subset);
            }
            return writer.Finish();
        };
        if (FindCombination(values, k, accept)) return true;
    }
    return false;
}
