// Logic puzzles: on every seed of a few hundred per level (fewer for Hard, which takes
// longest), the puzzle has exactly one solution by the solution counter, its givens
// are those of its solution and lie in 180-degree symmetry, and solving it by steps
// grades it as its level asks. A seed makes the same puzzle every time; a stop flag
// ends the work.
#include "sudoku/logic/logic_generator.h"

#include <gtest/gtest.h>

#include <atomic>

#include "sudoku/logic/solution_count.h"

namespace {

void CheckLevel(std::int32_t level, int seeds) {
    for (int seed = 1; seed <= seeds; ++seed) {
        LogicPuzzle puzzle;
        ASSERT_EQ(MakeLogicPuzzle(level, static_cast<std::uint64_t>(seed), puzzle), LogicMake::Made) << seed;
        const SolutionCount count = CountSolutions(puzzle.givens, 4, 2);
        ASSERT_TRUE(count.settled && count.solutions == 1) << seed;
        SudokuBoard solved;
        SetUpLogicGame(solved, puzzle);
        solved.values = puzzle.solution;
        ASSERT_TRUE(solved.IsComplete()) << seed;
        for (int r = 0; r < 16; ++r) {
            for (int c = 0; c < 16; ++c) {
                const int given = puzzle.givens[r][c];
                ASSERT_TRUE(given == 0 || given == puzzle.solution[r][c]) << seed;
                ASSERT_EQ(given == 0, puzzle.givens[15 - r][15 - c] == 0) << seed;
            }
        }
        LogicGrid grid;
        grid.Load(puzzle.givens, 4);
        ASSERT_TRUE(GradeMatchesLevel(SolveBySteps(grid), level)) << seed;
    }
}

TEST(LogicPuzzles, EasyOnesAreUniqueAndNeedOnlySingles) {
    CheckLevel(Easy, 200);
}

TEST(LogicPuzzles, MediumOnesAreUniqueAndNeedLockedCandidatesOrAPair) {
    CheckLevel(Medium, 150);
}

TEST(LogicPuzzles, HardOnesAreUniqueAndNeedATripleAQuadAFishOrAWing) {
    CheckLevel(Hard, 50);
}

TEST(LogicPuzzles, ExpertOnesAreUniqueAndNeedAColouringOrAChain) {
    CheckLevel(Expert, 8);
}

TEST(LogicPuzzles, SameSeedSamePuzzleAndAStopFlagEndsTheWork) {
    LogicPuzzle first;
    LogicPuzzle second;
    ASSERT_EQ(MakeLogicPuzzle(Medium, 99, first), LogicMake::Made);
    ASSERT_EQ(MakeLogicPuzzle(Medium, 99, second), LogicMake::Made);
    EXPECT_EQ(first.givens, second.givens);
    ASSERT_EQ(MakeLogicPuzzle(Medium, 100, second), LogicMake::Made);
    EXPECT_NE(first.givens, second.givens);

    const std::atomic<bool> stop{true};
    EXPECT_EQ(MakeLogicPuzzle(Hard, 1, second, &stop), LogicMake::Stopped);
    EXPECT_EQ(MakeLogicPuzzle(4, 1, second), LogicMake::Failed);
    EXPECT_EQ(MakeLogicPuzzle(Easy, 1, second, nullptr, 6), LogicMake::Failed);
}

}  // namespace
