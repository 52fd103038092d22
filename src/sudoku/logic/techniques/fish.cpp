// Fish: per value and direction, the combination search over the lines' positions.
#include "sudoku/logic/techniques/fish.h"

#include <algorithm>

bool FindFish(const SearchGrid& search, std::int32_t k, LogicStep& step) {
    const std::int32_t n = search.Side();
    const GridUnits& units = search.Units();
    const auto technique = static_cast<Technique>(static_cast<int>(Technique::XWing) + (k - 2));
    for (std::int32_t v = 0; v < n; ++v) {
        for (const bool columns : {false, true}) {
            const std::int32_t base = columns ? n : 0;   // the first unit of the base lines
            const std::int32_t cover = columns ? 0 : n;  // and of the cover lines
            CombinationItems lines;
            for (std::int32_t line = 0; line < n; ++line)
                lines.Take(line, search.positions[base + line][v], k);
            const auto accept = [&](std::uint32_t chosen, std::uint32_t joined) {
                StepWriter writer(search.grid, step, technique);
                writer.SetValues(1u << v);
                const std::uint32_t baseLines = lines.ItemBits(chosen);
                for (std::uint32_t m = baseLines; m != 0; m &= m - 1)
                    writer.AddUnit(base + LowestBitIndex(m));
                for (std::uint32_t m = joined; m != 0; m &= m - 1) writer.AddUnit(cover + LowestBitIndex(m));
                for (std::uint32_t m = joined; m != 0; m &= m - 1) {
                    const std::int32_t coverLine = cover + LowestBitIndex(m);
                    for (std::int32_t i = 0; i < n; ++i) {
                        const std::int32_t cell = units.UnitCell(coverLine, i);
                        if (baseLines & (1u << i)) {
                            if (search.grid.Candidates(cell) & (1u << v)) writer.AddCell(cell);
                        } else {
                            writer.Eliminate(cell, 1u << v);
                        }
                    }
                }
                std::sort(writer.Step().cells.begin(), writer.Step().cells.end());
                return writer.Finish();
            };
            if (FindCombination(lines, k, accept)) return true;
        }
    }
    return false;
}
