#include "sudoku/mistakes.h"

#include <algorithm>

namespace {

constexpr std::uint64_t NodesPerSlice = 64;

// Completion checks that share one node budget and the caller's stop.
class Checker {
public:
    Checker(std::int32_t boxSize, const StopAsked& stop, const MistakeLimits& limits)
        : boxSize_(boxSize), stop_(stop), limits_(limits) {}

    // The check's answer; Unknown once the budget is spent or the caller stops.
    CompletionResult Check(const Grid& values) {
        CompletionResult unknown;
        if (Stopped() || spent_ >= limits_.totalNodes) return unknown;
        CompletionLimits limits;
        limits.nodeBudget = std::min(limits_.nodesPerCheck, limits_.totalNodes - spent_);
        CompletionSearch search(values, boxSize_, limits);
        while (!search.Advance(NodesPerSlice)) {
            if (Stopped()) return unknown;
        }
        spent_ += search.Result().nodes;
        return search.Result();
    }
    bool Completable(const Grid& values) { return Check(values).verdict == Completion::Completable; }
    bool Stopped() {
        if (!stopped_ && stop_) stopped_ = stop_();
        return stopped_;
    }

private:
    std::int32_t boxSize_;
    const StopAsked& stop_;
    MistakeLimits limits_;
    std::uint64_t spent_ = 0;
    bool stopped_ = false;
};

bool Fits(const Grid& grid, std::int32_t boxSize) {
    const std::int32_t n = boxSize * boxSize;
    return boxSize > 0 && HasShape(grid, n);
}

std::int32_t& At(Grid& grid, std::int32_t cell) {
    const auto n = static_cast<std::int32_t>(grid.size());
    return grid[static_cast<std::size_t>(cell / n)][static_cast<std::size_t>(cell % n)];
}

std::int32_t At(const Grid& grid, std::int32_t cell) {
    const auto n = static_cast<std::int32_t>(grid.size());
    return grid[static_cast<std::size_t>(cell / n)][static_cast<std::size_t>(cell % n)];
}

// The player's cells: holding a value that is not a given.
std::vector<std::int32_t> PlayersCells(const Grid& givens, const Grid& values) {
    std::vector<std::int32_t> cells;
    const auto n = static_cast<std::int32_t>(values.size());
    for (std::int32_t cell = 0; cell < n * n; ++cell)
        if (At(values, cell) != 0 && At(givens, cell) == 0) cells.push_back(cell);
    return cells;
}

// Cells whose value agrees with a completion: no mistake.
void ClearAgreeing(const Grid& completion, const Grid& values, const std::vector<std::int32_t>& cells,
                   std::vector<bool>& settled) {
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (!settled[i] && At(completion, cells[i]) == At(values, cells[i])) settled[i] = true;
}

}  // namespace

MistakeReport FindMistakes(const MistakeQuery& query, const StopAsked& stop, const MistakeLimits& limits) {
    MistakeReport report;
    if (!Fits(query.givens, query.boxSize) || !Fits(query.values, query.boxSize)) return report;
    Checker checker(query.boxSize, stop, limits);
    const std::vector<std::int32_t> cells = PlayersCells(query.givens, query.values);
    if (query.oneSolution) {
        // The one completion of the givens settles every value.
        report.solution = query.solution;
        if (!HasShape(report.solution, static_cast<std::int32_t>(query.values.size()))) {
            CompletionResult found = checker.Check(query.givens);
            report.solution = std::move(found.completion);
        }
        if (!report.solution.empty())
            for (std::int32_t cell : cells)
                if (At(report.solution, cell) != At(query.values, cell)) report.wrong.push_back(cell);
        report.stopped = checker.Stopped();
        return report;
    }
    // A grid that can be finished holds no mistake.
    if (checker.Completable(query.values)) return report;
    // Each value alone with the givens: a completion clears every value it agrees with.
    std::vector<bool> settled(cells.size(), false);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (settled[i]) continue;
        Grid alone = query.givens;
        At(alone, cells[i]) = At(query.values, cells[i]);
        const CompletionResult result = checker.Check(alone);
        if (result.verdict == Completion::Completable)
            ClearAgreeing(result.completion, query.values, cells, settled);
        if (result.verdict == Completion::DeadEnd) report.wrong.push_back(cells[i]);
        settled[i] = true;
    }
    report.stopped = checker.Stopped();
    return report;
}

TakeOutReport FindValuesToTakeOut(const TakeOutQuery& query, const StopAsked& stop,
                                  const MistakeLimits& limits) {
    TakeOutReport report;
    if (!Fits(query.givens, query.boxSize) || !Fits(query.values, query.boxSize)) return report;
    const auto n = static_cast<std::int32_t>(query.values.size());
    std::vector<std::int32_t> order;
    for (std::int32_t cell : query.newestFirst)
        if (cell >= 0 && cell < n * n && At(query.values, cell) != 0 && At(query.givens, cell) == 0 &&
            std::find(order.begin(), order.end(), cell) == order.end())
            order.push_back(cell);
    Checker checker(query.boxSize, stop, limits);
    Grid grid = query.values;
    for (std::int32_t cell : order) {
        const std::int32_t value = At(grid, cell);
        At(grid, cell) = 0;
        const bool finishable = checker.Completable(grid);
        At(grid, cell) = value;
        if (finishable) {
            report.cells = {cell};
            return report;
        }
    }
    // A sweep from the newest value on, until the grid left can be finished...
    std::vector<std::int32_t> taken;
    bool finishable = false;
    for (std::int32_t cell : order) {
        At(grid, cell) = 0;
        taken.push_back(cell);
        if ((finishable = checker.Completable(grid))) break;
    }
    report.stopped = checker.Stopped();
    if (!finishable) return report;
    // ...then every value it took that the grid can keep goes back, oldest first.
    for (std::size_t i = taken.size(); i-- > 0;) {
        const std::int32_t cell = taken[i];
        At(grid, cell) = At(query.values, cell);
        if (checker.Completable(grid)) {
            taken.erase(taken.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            At(grid, cell) = 0;
        }
    }
    report.cells = taken;
    report.stopped = checker.Stopped();
    return report;
}
