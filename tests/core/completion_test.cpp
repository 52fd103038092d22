// Completion check: full, clashing and dead-end grids, completions that keep every
// value, the node budget, slices, and a cross-check of every answer on 9 x 9 positions
// against an exhaustive search of its own.
#include "sudoku/completion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/generator.h"
#include "support/boards.h"

namespace {

Grid EmptyGrid(int n) {
    return Grid(static_cast<std::size_t>(n), std::vector<std::int32_t>(static_cast<std::size_t>(n), 0));
}

// A full clash-free grid of box size b: each row the one above shifted.
Grid PatternGrid(int b) {
    const int n = b * b;
    Grid grid = EmptyGrid(n);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) grid[r][c] = (r % b * b + r / b + c) % n + 1;
    }
    return grid;
}

SudokuBoard BoardOf(const Grid& values, int b) {
    SudokuBoard board;
    board.size = b * b;
    board.boxSize = b;
    board.values = values;
    board.givens = EmptyGrid(b * b);
    return board;
}

// The completion is a clash-free full grid (by the board's own rules) holding every
// value of the position.
::testing::AssertionResult CompletesPosition(const Grid& completion, const Grid& position, int b) {
    if (!HasShape(completion, b * b) || !BoardOf(completion, b).IsComplete())
        return ::testing::AssertionFailure() << "not a clash-free full grid";
    for (int r = 0; r < b * b; ++r) {
        for (int c = 0; c < b * b; ++c) {
            if (position[r][c] != 0 && completion[r][c] != position[r][c])
                return ::testing::AssertionFailure() << "cell " << r << "," << c << " changed";
        }
    }
    return ::testing::AssertionSuccess();
}

// An exact-cover search on 9 x 9 grids, independent of the solver: every cell needs a
// value, every row, column and box needs each value once; it branches on the need
// with the fewest ways to meet it and tries them all.
bool HasCompletion(Grid& g) {
    auto allowed = [&](int r, int c, int v) {
        for (int i = 0; i < 9; ++i) {
            if (g[r][i] == v || g[i][c] == v) return false;
        }
        for (int i = r / 3 * 3; i < r / 3 * 3 + 3; ++i) {
            for (int j = c / 3 * 3; j < c / 3 * 3 + 3; ++j) {
                if (g[i][j] == v) return false;
            }
        }
        return true;
    };
    using Way = std::pair<int, int>;  // cell index, value
    std::vector<Way> fewest;
    bool open = false;
    bool first = true;
    auto consider = [&](std::vector<Way>&& ways) {
        if (first || ways.size() < fewest.size()) fewest = std::move(ways);
        first = false;
    };
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            if (g[r][c] != 0) continue;
            open = true;
            std::vector<Way> ways;
            for (int v = 1; v <= 9; ++v) {
                if (allowed(r, c, v)) ways.emplace_back(r * 9 + c, v);
            }
            consider(std::move(ways));
        }
    }
    if (!open) return true;
    for (int unit = 0; unit < 27; ++unit) {
        for (int v = 1; v <= 9; ++v) {
            std::vector<Way> ways;
            bool present = false;
            for (int i = 0; i < 9; ++i) {
                const int r = unit < 9 ? unit : unit < 18 ? i : (unit - 18) / 3 * 3 + i / 3;
                const int c = unit < 9 ? i : unit < 18 ? unit - 9 : (unit - 18) % 3 * 3 + i % 3;
                if (g[r][c] == v) present = true;
                if (g[r][c] == 0 && allowed(r, c, v)) ways.emplace_back(r * 9 + c, v);
            }
            if (!present) consider(std::move(ways));
        }
    }
    for (const auto& [cell, v] : fewest) {
        g[cell / 9][cell % 9] = v;
        if (HasCompletion(g)) return true;
        g[cell / 9][cell % 9] = 0;
    }
    return false;
}

// A 9 x 9 dead end that propagation alone does not settle: the search must branch.
const Grid kBranchingDeadEnd = {
    {1, 0, 0, 3, 9, 0, 5, 6, 7}, {0, 0, 0, 0, 0, 0, 0, 0, 3}, {3, 8, 0, 0, 0, 0, 4, 0, 0},
    {0, 0, 0, 4, 0, 0, 0, 0, 8}, {2, 0, 4, 0, 1, 5, 0, 0, 0}, {0, 5, 0, 2, 0, 0, 7, 0, 0},
    {6, 0, 0, 0, 0, 0, 0, 2, 1}, {0, 0, 0, 0, 0, 0, 3, 0, 0}, {0, 1, 0, 0, 8, 0, 0, 0, 0},
};

CompletionLimits PropagationOnly() {
    CompletionLimits limits;
    limits.nodeBudget = 0;
    return limits;
}

TEST(CompletionCheck, FullValidGridIsCompletableAsItIs) {
    for (int b = 1; b <= 5; ++b) {
        const Grid grid = PatternGrid(b);
        const CompletionResult result = CheckCompletion(grid, b);
        EXPECT_EQ(result.verdict, Completion::Completable) << "box size " << b;
        EXPECT_EQ(result.completion, grid) << "box size " << b;
        EXPECT_EQ(result.nodes, 0u);
    }
}

TEST(CompletionCheck, ClashOrImpossibleValueIsDeadEndAtOnce) {
    std::vector<std::pair<const char*, Grid>> cases;
    Grid swapped = PatternGrid(4);
    std::swap(swapped[0][0], swapped[0][1]);  // rows stay whole, two columns clash
    cases.emplace_back("full grid with a column clash", swapped);
    Grid row = EmptyGrid(16);
    row[5][0] = row[5][15] = 7;
    cases.emplace_back("row clash", row);
    Grid column = EmptyGrid(16);
    column[0][9] = column[15][9] = 16;
    cases.emplace_back("column clash", column);
    Grid box = EmptyGrid(16);
    box[4][4] = box[7][7] = 1;
    cases.emplace_back("box clash", box);
    Grid high = EmptyGrid(16);
    high[2][3] = 17;
    cases.emplace_back("value above N", high);
    Grid negative = EmptyGrid(16);
    negative[2][3] = -1;
    cases.emplace_back("negative value", negative);
    Grid shortRow = EmptyGrid(16);
    shortRow[8].pop_back();
    cases.emplace_back("row one cell short", shortRow);
    cases.emplace_back("no rows", Grid{});
    for (const auto& [name, grid] : cases) {
        const CompletionResult result = CheckCompletion(grid, 4);
        EXPECT_EQ(result.verdict, Completion::DeadEnd) << name;
        EXPECT_TRUE(result.completion.empty()) << name;
        EXPECT_EQ(result.nodes, 0u) << name;
    }
}

TEST(CompletionCheck, DeadEndThatNoSingleCellReveals) {
    // Row 0 needs 3 and 4 in its last two cells, but the box above row 1 holds 3: both
    // cells can only take 4. Every empty cell still allows some value.
    const Grid small = {{1, 2, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    const SudokuBoard board = BoardOf(small, 2);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (small[r][c] != 0) continue;
            bool any = false;
            for (int v = 1; v <= 4; ++v) any = any || board.IsAllowed(r, c, v);
            EXPECT_TRUE(any) << r << "," << c;
        }
    }
    EXPECT_EQ(CheckCompletion(small, 2).verdict, Completion::DeadEnd);

    EXPECT_EQ(CheckCompletion(kBranchingDeadEnd, 3, PropagationOnly()).verdict, Completion::Unknown);
    const CompletionResult result = CheckCompletion(kBranchingDeadEnd, 3);
    EXPECT_EQ(result.verdict, Completion::DeadEnd);
    EXPECT_GT(result.nodes, 0u);
    Grid copy = kBranchingDeadEnd;
    EXPECT_FALSE(HasCompletion(copy));
}

TEST(CompletionCheck, CompletionKeepsEveryGivenAndPlayerValue) {
    // A Hard puzzle as made, and with player values taken from another full grid where
    // they do not clash with the givens.
    SeedRandom(7);
    SudokuBoard puzzle;
    ASSERT_TRUE(puzzle.NewGame(Hard));
    CompletionResult result = CheckCompletion(puzzle.values, 4);
    ASSERT_EQ(result.verdict, Completion::Completable);
    EXPECT_TRUE(CompletesPosition(result.completion, puzzle.values, 4));

    SudokuBoard full = EmptyBoard();
    GenerationStats stats;
    ASSERT_TRUE(SolveWithRestarts(full, GenerationLimits{}, stats));
    Grid mixed = EmptyGrid(16);
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            if ((r * 7 + c * 3) % 5 == 0) mixed[r][c] = full.values[r][c];  // about a fifth of the cells
        }
    }
    result = CheckCompletion(mixed, 4);
    ASSERT_EQ(result.verdict, Completion::Completable);
    EXPECT_TRUE(CompletesPosition(result.completion, mixed, 4));

    // A nearly empty grid, and a thinned 25 x 25 grid.
    Grid sparse = EmptyGrid(16);
    sparse[0][0] = 5;
    sparse[9][3] = 12;
    sparse[15][15] = 1;
    result = CheckCompletion(sparse, 4);
    ASSERT_EQ(result.verdict, Completion::Completable);
    EXPECT_TRUE(CompletesPosition(result.completion, sparse, 4));

    Grid large = PatternGrid(5);
    for (int r = 0; r < 25; ++r) {
        for (int c = 0; c < 25; ++c) {
            if ((r + 2 * c) % 3 != 0) large[r][c] = 0;
        }
    }
    result = CheckCompletion(large, 5);
    ASSERT_EQ(result.verdict, Completion::Completable);
    EXPECT_TRUE(CompletesPosition(result.completion, large, 5));
}

TEST(CompletionCheck, ExhaustedBudgetAnswersUnknown) {
    const CompletionResult propagation = CheckCompletion(EmptyGrid(16), 4, PropagationOnly());
    EXPECT_EQ(propagation.verdict, Completion::Unknown);
    EXPECT_EQ(propagation.nodes, 0u);
    EXPECT_TRUE(propagation.completion.empty());

    CompletionLimits few;
    few.nodeBudget = 3;
    const CompletionResult limited = CheckCompletion(EmptyGrid(16), 4, few);
    EXPECT_EQ(limited.verdict, Completion::Unknown);
    EXPECT_EQ(limited.nodes, 3u);

    EXPECT_EQ(CheckCompletion(EmptyGrid(36), 6).verdict, Completion::Unknown);  // too large a box
    EXPECT_EQ(CheckCompletion(EmptyGrid(16), 0).verdict, Completion::Unknown);
}

TEST(CompletionCheck, SlicesAndRepeatsGiveTheSameAnswer) {
    Grid position = EmptyGrid(16);
    position[3][3] = 9;
    position[12][6] = 2;
    const CompletionResult whole = CheckCompletion(position, 4);
    ASSERT_EQ(whole.verdict, Completion::Completable);
    ASSERT_GT(whole.nodes, 1u);
    const CompletionResult repeated = CheckCompletion(position, 4);
    EXPECT_EQ(repeated.completion, whole.completion);
    EXPECT_EQ(repeated.nodes, whole.nodes);

    Grid changing = position;
    CompletionSearch search(changing, 4);
    changing[3][3] = 0;  // the search keeps its own copy
    std::uint64_t slices = 0;
    while (!search.Advance(1)) ++slices;
    EXPECT_TRUE(search.Finished());
    EXPECT_EQ(slices + 1, whole.nodes);
    EXPECT_EQ(search.Result().verdict, whole.verdict);
    EXPECT_EQ(search.Result().completion, whole.completion);
    EXPECT_TRUE(search.Advance(1));  // a finished search stays finished
    EXPECT_EQ(search.Result().nodes, whole.nodes);
}

// Random moves into the empty cells of a 9 x 9 grid, each a value the placement rules
// allow. A careful player's moves pass the propagation-only check (moves it refutes are
// taken back), and the position kept is the shortest run of moves that is a dead end
// (the move that made it slipped past propagation), else the whole run.
Grid PlayMoves(SudokuBoard& board, bool careful) {
    std::vector<std::pair<int, int>> open;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            if (board.values[r][c] == 0) open.emplace_back(r, c);
        }
    }
    const Grid start = board.values;
    std::vector<std::pair<int, int>> played;  // cell index, value
    const int moves = careful ? 81 : RandomInt(1, 8);
    while (static_cast<int>(played.size()) < moves && !open.empty()) {
        const auto pick = static_cast<std::size_t>(RandomInt(0, static_cast<int>(open.size()) - 1));
        const auto [r, c] = open[pick];
        open[pick] = open.back();
        open.pop_back();
        std::vector<int> allowed;
        for (int v = 1; v <= 9; ++v) {
            if (board.IsAllowed(r, c, v)) allowed.push_back(v);
        }
        if (allowed.empty()) continue;
        const int v = allowed[static_cast<std::size_t>(RandomInt(0, static_cast<int>(allowed.size()) - 1))];
        board.values[r][c] = v;
        if (careful && CheckCompletion(board.values, 3, PropagationOnly()).verdict == Completion::DeadEnd) {
            board.values[r][c] = 0;
            continue;
        }
        played.emplace_back(r * 9 + c, v);
    }
    if (!careful) return board.values;
    auto prefix = [&](std::size_t count) {
        Grid grid = start;
        for (std::size_t i = 0; i < count; ++i) grid[played[i].first / 9][played[i].first % 9] = played[i].second;
        return grid;
    };
    std::size_t low = 0;
    std::size_t high = played.size();
    if (CheckCompletion(board.values, 3).verdict != Completion::DeadEnd) return board.values;
    while (low + 1 < high) {
        const std::size_t middle = (low + high) / 2;
        (CheckCompletion(prefix(middle), 3).verdict == Completion::DeadEnd ? high : low) = middle;
    }
    return prefix(high);
}

TEST(CompletionCrossCheck, EveryAnswerHoldsOn9x9Positions) {
    int completable = 0;
    int deadEnds = 0;
    int searchedDeadEnds = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SeedRandom(seed);
        SudokuBoard board = BoardOf(EmptyGrid(9), 3);
        GenerationStats stats;
        ASSERT_TRUE(SolveWithRestarts(board, GenerationLimits{}, stats));
        // Every other position starts nearly empty and is played carefully.
        const bool careful = seed % 2 == 0;
        const int clues = careful ? RandomInt(0, 5) : RandomInt(10, 30);
        for (int left = 81 - clues; left > 0;) {
            const int r = RandomInt(0, 8);
            const int c = RandomInt(0, 8);
            if (board.values[r][c] == 0) continue;
            board.values[r][c] = 0;
            --left;
        }
        const Grid position = PlayMoves(board, careful);
        const CompletionResult result = CheckCompletion(position, 3);
        ASSERT_NE(result.verdict, Completion::Unknown) << "seed " << seed;
        if (result.verdict == Completion::Completable) {
            ++completable;
            EXPECT_TRUE(CompletesPosition(result.completion, position, 3)) << "seed " << seed;
        } else {
            ++deadEnds;
            if (result.nodes > 0) ++searchedDeadEnds;
            Grid copy = position;
            EXPECT_FALSE(HasCompletion(copy)) << "seed " << seed;
        }
    }
    // Both answers occur, and some dead ends needed the search.
    EXPECT_GT(completable, 100);
    EXPECT_GT(deadEnds, 50);
    EXPECT_GT(searchedDeadEnds, 3);
}

}  // namespace
