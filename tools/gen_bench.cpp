// sudoku-gen's benchmarks: each makes its puzzles or positions from consecutive seeds,
// times the work and prints the spread.
#include "gen_bench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "sudoku/grid.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/logic/solution_count.h"

namespace {

// Nearest-rank percentile of sorted samples, p in (0, 100].
template <typename T>
T Percentile(const std::vector<T>& sorted, double p) {
    const double rank = std::ceil(p / 100.0 * static_cast<double>(sorted.size()));
    const std::size_t index = rank < 1.0 ? 0 : static_cast<std::size_t>(rank) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

// Sorts the counts and prints their spread: "<name> min N median N p99 N max N".
template <typename T>
void PrintCountSpread(const char* name, std::vector<T>& counts) {
    std::sort(counts.begin(), counts.end());
    const auto at = [&](double p) { return static_cast<unsigned long long>(Percentile(counts, p)); };
    std::printf("%s min %llu median %llu p99 %llu max %llu\n", name,
                static_cast<unsigned long long>(counts.front()), at(50.0), at(99.0),
                static_cast<unsigned long long>(counts.back()));
}

// Sorts the times (milliseconds) and prints their spread: "<name> min M median M p99 M max M".
void PrintTimeSpread(const char* name, std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    std::printf("%s min %.2f median %.2f p99 %.2f max %.2f\n", name, times.front(), Percentile(times, 50.0),
                Percentile(times, 99.0), times.back());
}

// Writes random moves into the board's empty cells, each a value the placement rules
// allow there, until a random number of moves is made or no empty cell allows a value.
void PlayRandomMoves(SudokuBoard& board) {
    std::vector<CellRef> open;
    for (std::int32_t r = 0; r < board.size; ++r) {
        for (std::int32_t c = 0; c < board.size; ++c) {
            if (board.values[r][c] == 0) open.push_back(CellRef{r, c});
        }
    }
    const std::int32_t moves = RandomInt(0, static_cast<std::int32_t>(open.size()));
    for (std::int32_t made = 0; made < moves && !open.empty();) {
        const auto pick = static_cast<std::size_t>(RandomInt(0, static_cast<std::int32_t>(open.size()) - 1));
        const CellRef cell = open[pick];
        std::vector<std::int32_t> allowed;
        for (std::int32_t v = 1; v <= board.size; ++v) {
            if (board.IsAllowed(cell.row, cell.column, v)) allowed.push_back(v);
        }
        open[pick] = open.back();
        open.pop_back();
        if (allowed.empty()) continue;  // a cell nothing fits any more
        board.SetValue(
            cell.row, cell.column,
            allowed[static_cast<std::size_t>(RandomInt(0, static_cast<std::int32_t>(allowed.size()) - 1))]);
        ++made;
    }
}

// The check again one node at a time: the longest single step (the constructor's
// propagation counts as one). A step can take milliseconds, which is why the play
// screen runs the check on a worker thread rather than in slices of its frames.
double LongestStep(const SudokuBoard& board) {
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    CompletionSearch search(board.values, board.boxSize);
    double worst = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    bool finished = search.Finished();
    while (!finished) {
        start = Clock::now();
        finished = search.Advance(1);
        worst = std::max(worst, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return worst;
}

}  // namespace

int RunBench(std::uint32_t games, std::uint32_t firstSeed, std::int32_t level) {
    std::vector<double> times;
    std::vector<std::uint64_t> calls;
    times.reserve(games);
    calls.reserve(games);
    std::uint32_t restarted = 0;
    for (std::uint32_t i = 0; i < games; ++i) {
        SeedRandom(firstSeed + i);  // wraps modulo 2^32
        SudokuBoard board;
        GenerationStats stats;
        const auto start = std::chrono::steady_clock::now();
        const bool made = NewGame(board, level, GenerationLimits{}, stats);
        const auto end = std::chrono::steady_clock::now();
        if (!made) {
            std::fprintf(stderr, "sudoku-gen: cannot create new game for seed %u\n", firstSeed + i);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        calls.push_back(stats.solveCalls);
        if (stats.attempts > 1) ++restarted;
    }
    PrintTimeSpread("time_ms", times);
    PrintCountSpread("solve_calls", calls);
    std::printf("restarted %u of %u\n", restarted, games);
    return 0;
}

int RunCheckBench(std::uint32_t positions, std::uint32_t firstSeed) {
    std::vector<double> times;
    std::vector<double> cpuTimes;  // the process's processor time: free of waits for a loaded machine
    std::vector<std::uint64_t> nodes;
    times.reserve(positions);
    cpuTimes.reserve(positions);
    nodes.reserve(positions);
    std::uint32_t verdicts[3] = {0, 0, 0};
    std::vector<double> stepTimes;  // the longest single node of each position
    stepTimes.reserve(positions);
    for (std::uint32_t i = 0; i < positions; ++i) {
        SeedRandom(firstSeed + i);  // wraps modulo 2^32
        SudokuBoard board;
        GenerationStats stats;
        if (!NewGame(board, Hard, GenerationLimits{}, stats)) {
            std::fprintf(stderr, "sudoku-gen: cannot create new game for seed %u\n", firstSeed + i);
            return 1;
        }
        PlayRandomMoves(board);
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        const CompletionResult result = CheckCompletion(board.values, board.boxSize);
        const auto end = std::chrono::steady_clock::now();
        const std::clock_t cpuEnd = std::clock();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        cpuTimes.push_back(1000.0 * static_cast<double>(cpuEnd - cpuStart) / CLOCKS_PER_SEC);
        nodes.push_back(result.nodes);
        stepTimes.push_back(LongestStep(board));
        ++verdicts[static_cast<int>(result.verdict)];
    }
    PrintTimeSpread("time_ms", times);
    PrintTimeSpread("cpu_ms", cpuTimes);
    PrintCountSpread("nodes", nodes);
    std::sort(stepTimes.begin(), stepTimes.end());
    std::printf("step_ms (longest single node per position) median %.3f p99 %.3f max %.3f\n",
                Percentile(stepTimes, 50.0), Percentile(stepTimes, 99.0), stepTimes.back());
    std::printf("verdicts completable %u dead-end %u unknown %u\n",
                verdicts[static_cast<int>(Completion::Completable)],
                verdicts[static_cast<int>(Completion::DeadEnd)],
                verdicts[static_cast<int>(Completion::Unknown)]);
    return 0;
}

int RunLogicBench(std::uint32_t puzzles, std::uint32_t firstSeed, std::int32_t level) {
    std::vector<double> times;
    std::vector<std::int32_t> givens;
    std::vector<std::int32_t> grids;
    std::uint32_t unique = 0;
    std::uint32_t graded = 0;
    std::int32_t byHardest[kTechniqueCount] = {};
    std::int32_t using_[kTechniqueCount] = {};  // puzzles that take a step of the technique
    std::int64_t steps[kTechniqueCount] = {};
    for (std::uint32_t i = 0; i < puzzles; ++i) {
        LogicPuzzle puzzle;
        const auto start = std::chrono::steady_clock::now();
        const LogicMake made = MakeLogicPuzzle(level, firstSeed + i, puzzle);
        const auto end = std::chrono::steady_clock::now();
        if (made != LogicMake::Made) {
            std::fprintf(stderr, "sudoku-gen: cannot make a logic puzzle for seed %u\n", firstSeed + i);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        grids.push_back(puzzle.grids);
        std::int32_t count = 0;
        for (const auto& line : puzzle.givens)
            count += static_cast<std::int32_t>(line.size()) -
                     static_cast<std::int32_t>(std::count(line.begin(), line.end(), 0));
        givens.push_back(count);
        // Checked again here, apart from the generator's own checks.
        const SolutionCount solutions = CountSolutions(puzzle.givens, puzzle.boxSize, 2);
        if (solutions.settled && solutions.solutions == 1) ++unique;
        LogicGrid grid;
        grid.Load(puzzle.givens, puzzle.boxSize);
        const LogicGrade grade = SolveBySteps(grid);
        if (GradeMatchesLevel(grade, level)) ++graded;
        ++byHardest[static_cast<int>(grade.hardest)];
        for (int t = 0; t < kTechniqueCount; ++t) {
            using_[t] += grade.counts[t] > 0;
            steps[t] += grade.counts[t];
        }
    }
    std::sort(givens.begin(), givens.end());
    std::sort(grids.begin(), grids.end());
    PrintTimeSpread("time_ms", times);
    std::printf("givens min %d median %d max %d\n", givens.front(), Percentile(givens, 50.0), givens.back());
    std::printf("grids median %d p99 %d max %d\n", Percentile(grids, 50.0), Percentile(grids, 99.0),
                grids.back());
    std::printf("hardest");
    for (int t = 0; t < kTechniqueCount; ++t) {
        if (byHardest[t] > 0) std::printf(" %s %d", TechniqueName(static_cast<Technique>(t)), byHardest[t]);
    }
    std::printf("\nneeds (puzzles/steps)");
    for (int t = 0; t < kTechniqueCount; ++t) {
        if (using_[t] > 0)
            std::printf(" %s %d/%lld", TechniqueName(static_cast<Technique>(t)), using_[t],
                        static_cast<long long>(steps[t]));
    }
    std::printf("\nunique %u of %u, graded %u of %u\n", unique, puzzles, graded, puzzles);
    return 0;
}
