// hint-bench: times the search behind a hint (FindHint, next_hint.h) as the hint
// worker runs it, over whole games won by hints alone.
//   hint-bench N [--first-seed S] [--level easy|medium|hard] [--logic]
// For the seeds S, S+1, ... (default 1) it makes the game's classic puzzle of the level
// (default hard), or with --logic the logic puzzle, and plays it by hints as the game
// does on the third press: a step's value is written, its eliminations kept for the
// next hint, a value that keeps the grid finishable written where no step applies.
// Every search is timed (wall clock and the thread's processor time); it prints their
// spread by kind (a logic step, or no step and the completion checks of one cell), the
// techniques found, and the slowest search with its grid's empty cells.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "sudoku/generator.h"
#include "sudoku/grid.h"
#include "sudoku/levels.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/logic/next_hint.h"

namespace {

struct Timing {
    std::vector<double> wall, cpu;
};

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void PrintTiming(const char* name, const Timing& t) {
    if (t.wall.empty()) {
        std::printf("%-8s none\n", name);
        return;
    }
    std::printf(
        "%-8s %6zu searches  wall_ms median %.2f p99 %.2f max %.2f  cpu_ms median %.2f p99 %.2f max %.2f\n",
        name, t.wall.size(), Percentile(t.wall, 50), Percentile(t.wall, 99),
        *std::max_element(t.wall.begin(), t.wall.end()), Percentile(t.cpu, 50), Percentile(t.cpu, 99),
        *std::max_element(t.cpu.begin(), t.cpu.end()));
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

bool MakePuzzle(std::uint32_t seed, std::int32_t level, bool logic, SudokuBoard& board) {
    if (logic) {
        LogicPuzzle puzzle;
        if (MakeLogicPuzzle(level, seed, puzzle) != LogicMake::Made) return false;
        SetUpLogicGame(board, puzzle);
        return true;
    }
    SeedRandom(seed);
    return board.NewGame(level);
}

int EmptyCells(const Grid& values) {
    int empty = 0;
    for (const auto& row : values) empty += static_cast<int>(std::count(row.begin(), row.end(), 0));
    return empty;
}

struct Bench {
    Timing steps, values;
    std::vector<int> techniques = std::vector<int>(kTechniqueCount, 0);
    double slowest = 0;
    std::string slowestWhat;
    int stuck = 0;
    int unsettled = 0;  // no-step searches that left a value unsettled
};

// One game won by hints alone; false when a search gave no way on.
bool PlayByHints(SudokuBoard& board, std::uint32_t seed, Bench& bench) {
    HintQuery query;
    query.boxSize = board.boxSize;
    for (;;) {
        query.values = board.values;
        if (EmptyCells(query.values) == 0) return true;
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        const HintAnswer answer = FindHint(query);
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const double cpu = ThreadCpuMs() - cpuStart;
        Timing& timing = answer.kind == HintKind::Step ? bench.steps : bench.values;
        timing.wall.push_back(wall);
        timing.cpu.push_back(cpu);
        if (wall > bench.slowest) {
            bench.slowest = wall;
            bench.slowestWhat = "seed " + std::to_string(seed) + ", " +
                                std::to_string(EmptyCells(query.values)) + " empty cells, " +
                                (answer.kind == HintKind::Step ? TechniqueName(answer.step.technique)
                                                               : "no step: completion checks");
        }
        if (answer.kind == HintKind::Step) {
            ++bench.techniques[static_cast<std::size_t>(answer.step.technique)];
            if (answer.step.IsPlacement()) {
                const CellRef cell = CellRef::OfIndex(answer.step.placeCell);
                board.values[cell.row][cell.column] = answer.step.placeValue;
            } else {
                query.eliminated.insert(query.eliminated.end(), answer.step.eliminations.begin(),
                                        answer.step.eliminations.end());
            }
        } else if (answer.kind == HintKind::Values && answer.finishable != 0) {
            bench.unsettled += answer.unsettled != 0;
            const CellRef cell = CellRef::OfIndex(answer.cell);
            board.values[cell.row][cell.column] = LowestValue(answer.finishable);
        } else {
            return false;
        }
    }
}

int Usage() {
    std::fprintf(stderr, "usage: hint-bench N [--first-seed S] [--level easy|medium|hard] [--logic]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const long games = std::strtol(argv[1], nullptr, 10);
    std::uint32_t firstSeed = 1;
    std::int32_t level = Hard;
    bool logic = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--logic") {
            logic = true;
        } else if (arg == "--first-seed" && i + 1 < argc) {
            firstSeed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--level" && i + 1 < argc) {
            level = LevelOfKeyword(argv[++i]);
            if (level == 0) return Usage();
        } else {
            return Usage();
        }
    }
    if (games < 1 || games > 100000) return Usage();
    Bench bench;
    for (long g = 0; g < games; ++g) {
        const auto seed = static_cast<std::uint32_t>(firstSeed + static_cast<std::uint32_t>(g));
        SudokuBoard board;
        if (!MakePuzzle(seed, level, logic, board)) {
            std::fprintf(stderr, "hint-bench: cannot make the puzzle of seed %u\n", seed);
            return 1;
        }
        if (!PlayByHints(board, seed, bench)) ++bench.stuck;
    }
    PrintTiming("step", bench.steps);
    PrintTiming("no-step", bench.values);
    std::printf("techniques");
    for (int t = 0; t < kTechniqueCount; ++t) {
        if (bench.techniques[static_cast<std::size_t>(t)] > 0)
            std::printf(" %s %d", TechniqueName(static_cast<Technique>(t)),
                        bench.techniques[static_cast<std::size_t>(t)]);
    }
    std::printf(
        "\nslowest %.2f ms: %s\ngames %ld, without a way on %d, no-step searches with a value unsettled %d\n",
        bench.slowest, bench.slowestWhat.c_str(), games, bench.stuck, bench.unsettled);
    return 0;
}
