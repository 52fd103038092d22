#include "sudoku/logic/next_hint.h"

#include "sudoku/bit_masks.h"
#include "sudoku/completion.h"

namespace {

// Nodes of a completion check between two looks at the stop test.
constexpr std::uint64_t NodesBetweenLooks = 8;
// Nodes one value's check may spend (about a tenth of a second): a check settles in a
// few hundred nodes but for rare grids that no budget settles; such a value is left
// unsettled rather than holding the hint up for seconds.
constexpr std::uint64_t NodesPerValue = 50000;

bool Stops(const std::function<bool()>& stop) {
    return stop && stop();
}

// The focus cell when it is empty, else the empty cell with the fewest candidates
// (the first on a tie); -1 when no cell is empty.
std::int32_t CellToTry(const LogicGrid& grid, std::int32_t focus) {
    if (focus >= 0 && focus < grid.CellCount() && grid.Value(focus) == 0) return focus;
    std::int32_t best = -1;
    int fewest = grid.Size() + 1;
    for (std::int32_t cell = 0; cell < grid.CellCount(); ++cell) {
        if (grid.Value(cell) != 0) continue;
        const int count = BitCount(grid.Candidates(cell));
        if (count < fewest) {
            fewest = count;
            best = cell;
        }
    }
    return best;
}

// One completion check per candidate of the cell, each with that value written.
bool CheckValues(const HintQuery& query, const LogicGrid& grid, HintAnswer& answer,
                 const std::function<bool()>& stop) {
    const std::int32_t n = grid.Size();
    const std::int32_t row = answer.cell / n, column = answer.cell % n;
    Grid tried = query.values;
    for (std::uint32_t m = grid.Candidates(answer.cell); m != 0; m &= m - 1) {
        const std::int32_t value = LowestValue(m);
        tried[row][column] = value;
        CompletionLimits limits;
        limits.nodeBudget = NodesPerValue;
        CompletionSearch search(tried, query.boxSize, limits);
        while (!search.Advance(NodesBetweenLooks)) {
            if (Stops(stop)) return false;
        }
        const std::uint32_t bit = 1u << (value - 1);
        if (search.Result().verdict == Completion::Completable) answer.finishable |= bit;
        if (search.Result().verdict == Completion::Unknown) answer.unsettled |= bit;
    }
    return true;
}

}  // namespace

HintAnswer FindHint(const HintQuery& query, const std::function<bool()>& stop) {
    HintAnswer answer;
    LogicGrid grid;
    if (!grid.Load(query.values, query.boxSize) || Stops(stop)) return answer;
    for (const Elimination& e : query.eliminated) {
        if (e.cell >= 0 && e.cell < grid.CellCount() && e.value >= 1 && e.value <= grid.Size())
            grid.Eliminate(e.cell, e.value);
    }
    switch (FindNextStep(grid, answer.step)) {
        case StepSearch::Found:
            answer.kind = HintKind::Step;
            return answer;
        case StepSearch::Contradiction:
            answer.kind = HintKind::Contradiction;
            return answer;
        case StepSearch::None:
            break;
    }
    answer.cell = CellToTry(grid, query.focusCell);
    if (answer.cell < 0 || Stops(stop)) return HintAnswer{};  // a full grid: nothing to tell
    if (!CheckValues(query, grid, answer, stop)) return HintAnswer{};
    answer.kind = HintKind::Values;
    return answer;
}
