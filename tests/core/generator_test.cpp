// Random source, the bounded search and the puzzles of each level.
#include "sudoku/generator.h"

#include <gtest/gtest.h>

#include "support/boards.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "sudoku/board.h"

namespace {

int CountFilled(const Grid& grid) {
    int filled = 0;
    for (const auto& line : grid)
        filled += static_cast<int>(std::count_if(line.begin(), line.end(), [](int v) { return v != 0; }));
    return filled;
}

// The search as first described: candidates from the three placement tests, recomputed
// per level, with the same entry limit, restart and thinning. The generator's masks must
// give exactly the same puzzles.
struct ReferenceSearch {
    SudokuBoard& board;
    std::uint64_t limit;
    std::uint64_t entries = 0;
    bool abandoned = false;

    bool Solve(int k) {
        if (entries == limit) {
            abandoned = true;
            return false;
        }
        ++entries;
        if (k == 256) return true;
        const int row = k % 16;
        const int column = k / 16;
        std::vector<bool> flags = board.Candidates(row, column);
        for (;;) {
            if (std::none_of(flags.begin(), flags.end(), [](bool f) { return f; })) {
                board.values[row][column] = 0;
                return false;
            }
            int v = RandomInt(0, 15);
            while (!flags[v]) v = RandomInt(0, 15);
            flags[v] = false;
            board.values[row][column] = v + 1;
            if (Solve(k + 1)) return true;
            if (abandoned) return false;
        }
    }
};

// The full grid the reference search finds for a seed.
Grid ReferenceGrid(std::uint32_t seed, std::uint64_t firstLimit) {
    SeedRandom(seed);
    for (std::uint64_t limit = firstLimit;; limit *= 2) {
        SudokuBoard board = EmptyBoard();
        ReferenceSearch search{board, limit};
        if (search.Solve(0)) return board.values;
    }
}

Grid SolvedGrid(std::uint32_t seed, std::uint64_t firstLimit, GenerationStats& stats) {
    SeedRandom(seed);
    SudokuBoard board = EmptyBoard();
    EXPECT_TRUE(SolveWithRestarts(board, GenerationLimits{firstLimit}, stats));
    EXPECT_TRUE(board.IsComplete());
    return board.values;
}

SudokuBoard MakePuzzle(std::uint32_t seed, int level, std::uint64_t firstLimit,
                       GenerationStats* stats = nullptr) {
    SeedRandom(seed);
    SudokuBoard board;
    GenerationStats local;
    EXPECT_TRUE(NewGame(board, level, GenerationLimits{firstLimit}, stats ? *stats : local));
    return board;
}

void ExpectValidPuzzle(const SudokuBoard& board, int clues) {
    EXPECT_EQ(board.size, 16);
    EXPECT_EQ(board.boxSize, 4);
    EXPECT_EQ(CountFilled(board.values), clues);
    EXPECT_EQ(board.givens, board.values);
    EXPECT_FALSE(board.IsComplete());
    EXPECT_TRUE(board.HasUnfinishedGame());
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) {
            if (board.givens[r][c] == 0) continue;
            EXPECT_TRUE(board.IsAllowed(r, c, board.givens[r][c])) << r << "," << c;
        }
}

TEST(RandomSource, FollowsTheLinearCongruentialSequence) {
    SeedRandom(1);
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(RandomDraw(), expected);
    SeedRandom(0xFFFFFFFFu);  // state arithmetic wraps modulo 2^32
    EXPECT_EQ(RandomDraw(), static_cast<int>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST(RandomSource, EachOfSixteenValuesTakes2048Draws) {
    std::array<int, 16> hits{};
    for (int r = 0; r <= 32767; ++r) {
        const int v = ScaleDraw(r, 0, 15);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 15);
        ++hits[v];
        EXPECT_EQ(ScaleDraw(r, 15, 0), v);
    }
    for (int count : hits) EXPECT_EQ(count, 2048);
    EXPECT_EQ(ScaleDraw(0, 0, 15), 0);
    EXPECT_EQ(ScaleDraw(32767, 0, 15), 15);
    EXPECT_EQ(ScaleDraw(32767, 3, 3), 3);
}

TEST(Solver, FillsTheCellsColumnByColumnFromTheDraws) {
    GenerationStats stats;
    const Grid grid = SolvedGrid(2024, kFirstSolveLimit, stats);
    ASSERT_EQ(stats.attempts, 1);

    // Cells 0..15 are rows 0..15 of column 0; any distinct values there extend to a
    // full grid, so they stand as first drawn.
    SeedRandom(2024);
    std::array<bool, 16> used{};
    for (int k = 0; k < 16; ++k) {
        int v = RandomInt(0, 15);
        while (used[v]) v = RandomInt(0, 15);
        used[v] = true;
        EXPECT_EQ(grid[k][0], v + 1) << k;
    }
}

TEST(Solver, MatchesTheSearchOverPlacementTests) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        GenerationStats stats;
        EXPECT_EQ(SolvedGrid(seed, kFirstSolveLimit, stats), ReferenceGrid(seed, kFirstSolveLimit));
    }
    for (std::uint32_t seed = 100; seed <= 110; ++seed) {  // frequent restarts
        SCOPED_TRACE(seed);
        GenerationStats stats;
        EXPECT_EQ(SolvedGrid(seed, 500, stats), ReferenceGrid(seed, 500));
        EXPECT_GT(stats.attempts, 1);
    }
}

TEST(Generator, LevelsKeepTheirClueCounts) {
    const std::array<std::pair<int, int>, 3> levels{{{Easy, 128}, {Medium, 90}, {Hard, 70}}};
    for (const auto& [level, clues] : levels) {
        SCOPED_TRACE(level);
        const SudokuBoard board = MakePuzzle(77, level, kFirstSolveLimit);
        EXPECT_EQ(board.difficulty, level);
        ExpectValidPuzzle(board, clues);
    }
    SudokuBoard untouched;
    GenerationStats stats;
    EXPECT_FALSE(NewGame(untouched, 4, GenerationLimits{}, stats));
    EXPECT_EQ(untouched.size, 0);
    EXPECT_EQ(untouched.difficulty, Medium);
}

TEST(Generator, SameSeedSamePuzzleAndTheSequenceGoesOn) {
    const SudokuBoard first = MakePuzzle(12345, Hard, kFirstSolveLimit);
    SeedRandom(12345);
    SudokuBoard board;
    ASSERT_TRUE(board.NewGame(Hard));
    EXPECT_EQ(board.values, first.values);
    ASSERT_TRUE(board.NewGame(Hard));
    EXPECT_NE(board.values, first.values);
}

TEST(Generator, RestartedSearchStillMakesAValidPuzzle) {
    for (std::uint64_t firstLimit : {0u, 1u, 300u}) {
        SCOPED_TRACE(firstLimit);
        GenerationStats stats;
        const SudokuBoard board = MakePuzzle(9, Hard, firstLimit, &stats);
        EXPECT_GT(stats.attempts, 1);
        EXPECT_GT(stats.solveCalls, firstLimit);
        ExpectValidPuzzle(board, 70);
        EXPECT_EQ(MakePuzzle(9, Hard, firstLimit).values, board.values);
    }
}

}  // namespace
