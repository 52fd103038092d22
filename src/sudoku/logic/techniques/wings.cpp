// XY-wing and XYZ-wing over the cells with two or three candidates.
#include "sudoku/logic/techniques/wings.h"

namespace {

// Starts the step of a wing on pivot, a and c.
StepWriter WingStep(const SearchGrid& search, LogicStep& step, Technique technique, std::uint32_t values,
                    std::int32_t pivot, std::int32_t a, std::int32_t c) {
    StepWriter writer(search.grid, step, technique);
    writer.SetValues(values);
    writer.AddCell(pivot);
    writer.AddCell(a);
    writer.AddCell(c);
    writer.AddSharedUnit(pivot, a);
    writer.AddSharedUnit(pivot, c);
    return writer;
}

}  // namespace

// Whichever the pivot takes, one pincer is z, so no cell that sees both pincers is z.
bool FindXYWing(const SearchGrid& search, LogicStep& step) {
    const LogicGrid& grid = search.grid;
    const GridUnits& units = search.Units();
    const std::int32_t cells = grid.CellCount();
    for (std::int32_t pivot = 0; pivot < cells; ++pivot) {
        const std::uint32_t p = grid.Candidates(pivot);
        if (BitCount(p) != 2) continue;
        for (std::int32_t a = 0; a < cells; ++a) {
            const std::uint32_t am = grid.Candidates(a);
            if (BitCount(am) != 2 || !IsSingle(am & p) || !units.Sees(pivot, a)) continue;
            const std::uint32_t z = am & ~p;
            const std::uint32_t cm = (p & ~am) | z;
            for (std::int32_t c = a + 1; c < cells; ++c) {
                if (grid.Candidates(c) != cm || !units.Sees(pivot, c)) continue;
                StepWriter writer = WingStep(search, step, Technique::XYWing, p | z, pivot, a, c);
                const std::uint16_t* peers = units.Peers(a);
                for (std::int32_t k = 0; k < units.PeerCount(); ++k) {
                    if (units.Sees(peers[k], c)) writer.Eliminate(peers[k], z);
                }
                if (writer.Finish()) return true;
            }
        }
    }
    return false;
}

// One of the three is z, so no cell that sees all three is z.
bool FindXYZWing(const SearchGrid& search, LogicStep& step) {
    const LogicGrid& grid = search.grid;
    const GridUnits& units = search.Units();
    const std::int32_t cells = grid.CellCount();
    for (std::int32_t pivot = 0; pivot < cells; ++pivot) {
        const std::uint32_t p = grid.Candidates(pivot);
        if (BitCount(p) != 3) continue;
        for (std::int32_t a = 0; a < cells; ++a) {
            const std::uint32_t am = grid.Candidates(a);
            if (BitCount(am) != 2 || (am & ~p) != 0 || !units.Sees(pivot, a)) continue;
            for (std::int32_t c = a + 1; c < cells; ++c) {
                const std::uint32_t cm = grid.Candidates(c);
                if (BitCount(cm) != 2 || (cm & ~p) != 0 || cm == am || !units.Sees(pivot, c)) continue;
                const std::uint32_t z = am & cm;
                StepWriter writer = WingStep(search, step, Technique::XYZWing, p, pivot, a, c);
                const std::uint16_t* peers = units.Peers(pivot);
                for (std::int32_t k = 0; k < units.PeerCount(); ++k) {
                    if (units.Sees(peers[k], a) && units.Sees(peers[k], c)) writer.Eliminate(peers[k], z);
                }
                if (writer.Finish()) return true;
            }
        }
    }
    return false;
}
