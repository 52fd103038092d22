// The tabulation of a search and the step writer.
#include "sudoku/logic/techniques/finder.h"

#include <algorithm>

// One pass over the cells fills the positions of every value in its row, column and
// box; then every unit must have a place for each value it lacks.
bool Tabulate(SearchGrid& search) {
    const LogicGrid& grid = search.grid;
    if (grid.HasClash()) return false;
    const std::int32_t n = grid.Size();
    const GridUnits& units = grid.Units();
    std::uint32_t placed[kMaxUnits] = {};  // values standing in the unit
    for (std::int32_t u = 0; u < 3 * n; ++u) std::fill(search.positions[u], search.positions[u] + n, 0u);
    for (std::int32_t cell = 0; cell < n * n; ++cell) {
        const std::int32_t row = units.RowOf(cell);
        const std::int32_t column = units.ColumnOf(cell);
        const std::int32_t box = units.BoxUnit(cell);
        const std::int32_t value = grid.Value(cell);
        if (value != 0) {
            const std::uint32_t bit = 1u << (value - 1);
            placed[row] |= bit;
            placed[n + column] |= bit;
            placed[box] |= bit;
            continue;
        }
        std::uint32_t m = grid.Candidates(cell);
        if (m == 0) return false;  // an empty cell nothing fits
        for (; m != 0; m &= m - 1) {
            const std::int32_t v = LowestBitIndex(m);
            search.positions[row][v] |= 1u << column;
            search.positions[n + column][v] |= 1u << row;
            search.positions[box][v] |= 1u << units.PlaceInBox(cell);
        }
    }
    const std::uint32_t all = (1u << n) - 1u;
    for (std::int32_t u = 0; u < 3 * n; ++u) {
        std::uint32_t somewhere = placed[u];
        for (std::int32_t v = 0; v < n; ++v) {
            if (search.positions[u][v] != 0) somewhere |= 1u << v;
        }
        if (somewhere != all) return false;  // a value with no place
    }
    return true;
}

StepWriter::StepWriter(const LogicGrid& grid, LogicStep& step, Technique technique)
    : grid_(grid), step_(step) {
    step_.technique = technique;
    step_.units.clear();
    step_.cells.clear();
    step_.eliminations.clear();
    step_.chain.clear();
    step_.values = 0;
    step_.placeCell = -1;
    step_.placeValue = 0;
}

void StepWriter::AddUnit(std::int32_t unit) {
    const std::int32_t n = grid_.Size();
    const LogicUnit u{static_cast<UnitKind>(unit / n), unit % n};
    if (std::find(step_.units.begin(), step_.units.end(), u) == step_.units.end()) step_.units.push_back(u);
}

void StepWriter::AddSharedUnit(std::int32_t a, std::int32_t b) {
    const GridUnits& units = grid_.Units();
    if (units.RowOf(a) == units.RowOf(b)) {
        AddUnit(units.RowUnit(a));
    } else if (units.ColumnOf(a) == units.ColumnOf(b)) {
        AddUnit(units.ColumnUnit(a));
    } else {
        AddUnit(units.BoxUnit(a));
    }
}

void StepWriter::Place(std::int32_t cell, std::int32_t value) {
    step_.placeCell = cell;
    step_.placeValue = value;
}

void StepWriter::Eliminate(std::int32_t cell, std::uint32_t values) {
    for (std::uint32_t m = grid_.Candidates(cell) & values; m != 0; m &= m - 1)
        step_.eliminations.push_back(Elimination{cell, LowestBitIndex(m) + 1});
}

bool StepWriter::Finish() {
    if (step_.eliminations.empty()) return false;
    std::sort(step_.eliminations.begin(), step_.eliminations.end(),
              [](const Elimination& a, const Elimination& b) {
                  return a.cell != b.cell ? a.cell < b.cell : a.value < b.value;
              });
    return true;
}
