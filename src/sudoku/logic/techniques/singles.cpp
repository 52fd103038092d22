// Naked and hidden singles, one at a time for a step and in batches for the grading.
#include "sudoku/logic/techniques/singles.h"

bool FindNakedSingle(const SearchGrid& search, LogicStep& step) {
    const LogicGrid& grid = search.grid;
    const GridUnits& units = grid.Units();
    for (std::int32_t cell = 0; cell < grid.CellCount(); ++cell) {
        const std::uint32_t m = grid.Candidates(cell);
        if (grid.Value(cell) != 0 || !IsSingle(m)) continue;
        StepWriter writer(grid, step, Technique::NakedSingle);
        writer.AddUnit(units.RowUnit(cell));
        writer.AddUnit(units.ColumnUnit(cell));
        writer.AddUnit(units.BoxUnit(cell));
        writer.AddCell(cell);
        writer.SetValues(m);
        writer.Place(cell, LowestBitIndex(m) + 1);
        return true;
    }
    return false;
}

bool FindHiddenSingle(const SearchGrid& search, LogicStep& step) {
    const std::int32_t n = search.Side();
    for (std::int32_t i = 0; i < 3 * n; ++i) {
        const std::int32_t u = ScanUnit(i, n);
        for (std::int32_t v = 0; v < n; ++v) {
            if (!IsSingle(search.positions[u][v])) continue;
            const std::int32_t cell = search.Units().UnitCell(u, LowestBitIndex(search.positions[u][v]));
            StepWriter writer(search.grid, step, Technique::HiddenSingle);
            writer.AddUnit(u);
            writer.AddCell(cell);
            writer.SetValues(1u << v);
            writer.Place(cell, v + 1);
            return true;
        }
    }
    return false;
}

bool PlaceSingles(LogicGrid& grid, Technique& hardest) {
    const std::int32_t n = grid.Size();
    const std::uint32_t all = (1u << n) - 1u;
    for (bool placed = true; placed;) {
        placed = false;
        for (std::int32_t cell = 0; cell < n * n; ++cell) {
            if (grid.Value(cell) != 0) continue;
            const std::uint32_t m = grid.Candidates(cell);
            if (m == 0) return false;
            if (!IsSingle(m)) continue;
            grid.Place(cell, LowestBitIndex(m) + 1);
            placed = true;
        }
        if (placed) continue;
        for (std::int32_t u = 0; u < 3 * n; ++u) {
            const std::uint16_t* cells = grid.Units().UnitCells(u);
            std::uint32_t once = 0;
            std::uint32_t twice = 0;
            std::uint32_t filled = 0;
            for (std::int32_t i = 0; i < n; ++i) {
                const std::int32_t cell = cells[i];
                if (grid.Value(cell) != 0) {
                    filled |= 1u << (grid.Value(cell) - 1);
                    continue;
                }
                const std::uint32_t m = grid.Candidates(cell);
                twice |= once & m;
                once |= m;
            }
            if ((once | filled) != all) return false;
            const std::uint32_t hidden = once & ~twice & ~filled;
            if (hidden == 0) continue;
            for (std::int32_t i = 0; i < n; ++i) {
                const std::int32_t cell = cells[i];
                const std::uint32_t m = grid.Candidates(cell) & hidden;
                if (m == 0) continue;
                if (!IsSingle(m)) return false;  // one cell the only place of two values
                grid.Place(cell, LowestBitIndex(m) + 1);
            }
            placed = true;
            if (hardest < Technique::HiddenSingle) hardest = Technique::HiddenSingle;
        }
    }
    return true;
}
