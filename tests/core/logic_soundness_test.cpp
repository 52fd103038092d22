// Soundness of the logic engine: on a few hundred positions (logic puzzles of box size
// 2 to 5, the same with givens taken away so that they have many solutions, and classic
// 16 x 16 games with random player moves, dead ends among them) every step the engine
// takes is checked against the solution counter, which shares no code with it: a
// placement is in every completion, an elimination in none. The engine must also end
// on every position, dead ends included.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>

#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "sudoku/logic/logic.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/logic/solution_count.h"

namespace {

struct Tally {
    int positions = 0;
    int steps = 0;
    int chainSteps = 0;            // colourings and chains
    int chainStepsNoSolution = 0;  // of those, on positions with many completions or none
    int deadEnds = 0;
    int unsettled = 0;  // claims the completion check could not settle within its budget
};

// The values of the grid as the board holds them.
Grid ValuesOf(const LogicGrid& grid) {
    const int n = grid.Size();
    Grid values(static_cast<std::size_t>(n), std::vector<std::int32_t>(static_cast<std::size_t>(n), 0));
    for (int cell = 0; cell < n * n; ++cell) values[cell / n][cell % n] = grid.Value(cell);
    return values;
}

// Whether a completion of values has v at cell.
Completion Possible(Grid values, int boxSize, int cell, int v) {
    const int n = boxSize * boxSize;
    values[cell / n][cell % n] = v;
    return CheckCompletion(values, boxSize).verdict;
}

// Takes every step the engine finds from the position and checks each claim: against
// the single solution of a puzzle (its uniqueness shown by the solution counter), else
// by the completion check of the grid with the claim broken.
void CheckSteps(const Grid& position, int boxSize, const Grid* solution, Tally& tally) {
    const int n = boxSize * boxSize;
    ++tally.positions;
    if (solution != nullptr) {
        const SolutionCount count = CountSolutions(position, boxSize, 2);
        ASSERT_TRUE(count.settled && count.solutions == 1);
    }
    const Completion start =
        solution != nullptr ? Completion::Completable : CheckCompletion(position, boxSize).verdict;
    if (start == Completion::DeadEnd) ++tally.deadEnds;
    LogicGrid grid;
    ASSERT_TRUE(grid.Load(position, boxSize));
    LogicStep step;
    // True when the claim "no completion has v at cell" holds.
    auto refuted = [&](const Grid& values, int cell, int v) {
        if (solution != nullptr) return (*solution)[cell / n][cell % n] != v;
        const Completion verdict = Possible(values, boxSize, cell, v);
        if (verdict == Completion::Unknown) ++tally.unsettled;
        return verdict != Completion::Completable;
    };
    for (int taken = 0; FindNextStep(grid, step) == StepSearch::Found; ++taken) {
        ASSERT_LT(taken, n * n * n) << "the engine does not end";
        ++tally.steps;
        if (step.technique >= Technique::ColourWrap) {
            ++tally.chainSteps;
            if (solution == nullptr) ++tally.chainStepsNoSolution;
        }
        if (start != Completion::Completable) {
            grid.Apply(step);  // nothing to break on a dead end: it only has to end
            continue;
        }
        const Grid values = ValuesOf(grid);
        for (int w = 1; step.IsPlacement() && w <= n; ++w) {
            if (w != step.placeValue) {
                ASSERT_TRUE(refuted(values, step.placeCell, w)) << StepText(step, n);
            }
        }
        for (const Elimination& e : step.eliminations)
            ASSERT_TRUE(refuted(values, e.cell, e.value)) << StepText(step, n);
        grid.Apply(step);
    }
}

// The puzzle with up to `count` more givens taken away at random.
Grid TakeAway(Grid values, int count, std::mt19937& random) {
    const int n = static_cast<int>(values.size());
    for (int i = 0; i < count; ++i) values[random() % n][random() % n] = 0;
    return values;
}

TEST(LogicSoundness, EveryStepHoldsInEveryCompletion) {
    Tally tally;
    std::mt19937 random(7);
    // Box size and puzzles per level, Easy to Expert (4 x 4 grids are too small for
    // Medium and beyond).
    const std::pair<int, std::array<int, 4>> sizes[] = {
        {2, {40, 0, 0, 0}}, {3, {45, 45, 10, 12}}, {4, {6, 6, 6, 2}}, {5, {1, 0, 0, 0}}};
    const std::int32_t levels[] = {Easy, Medium, Hard, Expert};
    for (const auto& [boxSize, counts] : sizes) {
        for (int l = 0; l < 4; ++l) {
            const std::int32_t level = levels[l];
            for (int seed = 1; seed <= counts[l]; ++seed) {
                LogicPuzzle puzzle;
                ASSERT_EQ(MakeLogicPuzzle(level, static_cast<std::uint64_t>(seed), puzzle, nullptr, boxSize),
                          LogicMake::Made);
                CheckSteps(puzzle.givens, boxSize, &puzzle.solution, tally);
                if (boxSize <= 3)
                    CheckSteps(TakeAway(puzzle.givens, 4 + seed % 8, random), boxSize, nullptr, tally);
            }
        }
    }
    // Classic games: many solutions, and random moves that often lead nowhere.
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        SeedRandom(seed);
        SudokuBoard board;
        ASSERT_TRUE(board.NewGame(seed % 2 == 0 ? Hard : Medium));
        for (int moves = static_cast<int>(random() % 40); moves > 0; --moves) {
            const int r = static_cast<int>(random() % 16);
            const int c = static_cast<int>(random() % 16);
            const int v = static_cast<int>(random() % 16) + 1;
            if (board.values[r][c] == 0 && board.IsAllowed(r, c, v)) board.SetValue(r, c, v);
        }
        CheckSteps(board.values, 4, nullptr, tally);
    }
    EXPECT_GT(tally.positions, 300);
    EXPECT_GT(tally.deadEnds, 3);
    EXPECT_GT(tally.chainSteps, 100);
    EXPECT_GT(tally.chainStepsNoSolution, 20);
    EXPECT_EQ(tally.unsettled, 0);
    RecordProperty("positions", tally.positions);
    RecordProperty("steps", tally.steps);
    RecordProperty("dead_ends", tally.deadEnds);
    RecordProperty("chain_steps", tally.chainSteps);
}

}  // namespace
