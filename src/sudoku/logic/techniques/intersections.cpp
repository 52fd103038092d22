// Locked candidates on the positions of each value in the boxes and lines.
#include "sudoku/logic/techniques/intersections.h"

namespace {

// The one row of a box (with columns: the one column) that holds all of the positions
// pos in the box; -1 when they lie in more than one.
std::int32_t OnlyLine(std::uint32_t pos, std::int32_t b, bool columns) {
    const std::uint32_t band = (1u << b) - 1u;
    std::int32_t only = -1;
    for (std::int32_t k = 0; k < b; ++k) {
        std::uint32_t inLine = 0;
        if (!columns) {
            inLine = (pos >> (k * b)) & band;
        } else {
            for (std::int32_t r = 0; r < b; ++r) inLine |= (pos >> (r * b + k)) & 1u;
        }
        if (inLine == 0) continue;
        if (only >= 0) return -1;
        only = k;
    }
    return only;
}

// A value whose places in unit `locked` all lie where it crosses unit `target`: the
// value leaves the cells of target outside locked; those inside that have it are the
// pattern.
bool LockedStep(const SearchGrid& search, std::int32_t locked, std::int32_t target, std::int32_t v,
                LogicStep& step) {
    const GridUnits& units = search.Units();
    StepWriter writer(search.grid, step, Technique::LockedCandidates);
    writer.AddUnit(locked);
    writer.AddUnit(target);
    writer.SetValues(1u << v);
    for (std::int32_t i = 0; i < search.Side(); ++i) {
        const std::int32_t cell = units.UnitCell(target, i);
        const bool inLocked = units.RowUnit(cell) == locked || units.ColumnUnit(cell) == locked ||
                              units.BoxUnit(cell) == locked;
        if (!inLocked) {
            writer.Eliminate(cell, 1u << v);
        } else if (search.grid.Candidates(cell) & (1u << v)) {
            writer.AddCell(cell);
        }
    }
    return writer.Finish();
}

// Pointing: the places of a value in a box all lie in one row (or column) of the box,
// so the value leaves the rest of that line.
bool Pointing(const SearchGrid& search, std::int32_t box, std::int32_t v, LogicStep& step) {
    const std::int32_t n = search.Side();
    const std::int32_t b = search.grid.BoxSize();
    const GridUnits& units = search.Units();
    const std::int32_t unit = 2 * n + box;
    const std::uint32_t pos = search.positions[unit][v];
    if (pos == 0) return false;
    const std::int32_t corner = units.UnitCell(unit, 0);  // the box's top-left cell
    for (const bool columns : {false, true}) {
        const std::int32_t only = OnlyLine(pos, b, columns);
        if (only < 0) continue;
        const std::int32_t line = columns ? units.ColumnUnit(corner) + only : units.RowUnit(corner) + only;
        if (LockedStep(search, unit, line, v, step)) return true;
    }
    return false;
}

// Claiming: the places of a value in a row (or column) all lie in one box, so the
// value leaves the rest of that box.
bool Claiming(const SearchGrid& search, std::int32_t line, std::int32_t v, LogicStep& step) {
    const std::int32_t b = search.grid.BoxSize();
    const GridUnits& units = search.Units();
    const std::uint32_t pos = search.positions[line][v];
    if (pos == 0) return false;
    const std::uint32_t segment = (1u << b) - 1u;
    std::int32_t only = -1;
    for (std::int32_t k = 0; k < b; ++k) {
        if (((pos >> (k * b)) & segment) == 0) continue;
        if (only >= 0) return false;
        only = k;
    }
    return LockedStep(search, line, units.BoxUnit(units.UnitCell(line, only * b)), v, step);
}

}  // namespace

bool FindLockedCandidates(const SearchGrid& search, LogicStep& step) {
    const std::int32_t n = search.Side();
    for (std::int32_t v = 0; v < n; ++v) {
        for (std::int32_t box = 0; box < n; ++box) {
            if (Pointing(search, box, v, step)) return true;
        }
    }
    for (std::int32_t v = 0; v < n; ++v) {
        for (std::int32_t line = 0; line < 2 * n; ++line) {
            if (Claiming(search, line, v, step)) return true;
        }
    }
    return false;
}
