// Placement rules, the value setter and the completion tests of the board.
#include "sudoku/board.h"

#include <gtest/gtest.h>

#include "support/boards.h"

namespace {

// A full 16 x 16 grid without a clash.
SudokuBoard SolvedBoard() {
    SudokuBoard board = EmptyBoard();
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) board.values[r][c] = (4 * (r % 4) + r / 4 + c) % 16 + 1;
    return board;
}

TEST(PlacementRules, BoxesAreFourByFourBlocks) {
    SudokuBoard board = EmptyBoard();
    board.values[0][0] = 7;
    board.values[0][15] = 5;
    EXPECT_FALSE(board.BoxAllows(3, 3, 7));  // (0,0) and (3,3): one box
    EXPECT_TRUE(board.BoxAllows(4, 4, 7));   // (3,3) and (4,4): different boxes
    EXPECT_TRUE(board.BoxAllows(0, 4, 7));
    EXPECT_FALSE(board.BoxAllows(3, 12, 5));  // (0,15) and (3,12): one box
    EXPECT_TRUE(board.BoxAllows(3, 11, 5));
    EXPECT_TRUE(board.BoxAllows(4, 12, 5));
}

TEST(PlacementRules, CellItselfNeverCountsAgainstItsValue) {
    SudokuBoard board = EmptyBoard();
    board.values[5][6] = 9;
    EXPECT_TRUE(board.RowAllows(5, 6, 9));
    EXPECT_TRUE(board.ColumnAllows(5, 6, 9));
    EXPECT_TRUE(board.BoxAllows(5, 6, 9));
    EXPECT_FALSE(board.RowAllows(5, 0, 9));
    EXPECT_FALSE(board.ColumnAllows(15, 6, 9));
    EXPECT_FALSE(board.BoxAllows(4, 7, 9));

    const SudokuBoard solved = SolvedBoard();
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            EXPECT_TRUE(solved.IsAllowed(r, c, solved.values[r][c])) << r << "," << c;
}

TEST(PlacementRules, TwoEqualValuesClashUntilOneIsRemoved) {
    SudokuBoard board = EmptyBoard();
    board.values[2][1] = 12;
    board.values[2][14] = 12;
    EXPECT_FALSE(board.IsAllowed(2, 1, 12));
    EXPECT_FALSE(board.IsAllowed(2, 14, 12));
    board.values[2][14] = 0;
    EXPECT_TRUE(board.IsAllowed(2, 1, 12));

    board.values[9][9] = 99;  // out-of-range values clash only with their equals
    EXPECT_TRUE(board.IsAllowed(9, 9, 99));
    EXPECT_FALSE(board.IsAllowed(9, 0, 99));
}

TEST(PlacementRules, CandidatesExcludeRowColumnAndBox) {
    SudokuBoard board = EmptyBoard();
    board.values[0][9] = 1;   // row
    board.values[12][0] = 2;  // column
    board.values[3][2] = 3;   // box
    board.values[6][6] = 4;   // elsewhere
    const std::vector<bool> flags = board.Candidates(0, 0);
    ASSERT_EQ(flags.size(), 16u);
    for (int v = 1; v <= 16; ++v) EXPECT_EQ(flags[v - 1], v > 3) << v;
}

TEST(SetValue, IgnoresOutsideValuesIndicesAndGivens) {
    SudokuBoard board = EmptyBoard();
    board.values[1][1] = board.givens[1][1] = 8;
    board.values[2][2] = 5;
    const Grid before = board.values;
    board.SetValue(2, 2, 17);
    board.SetValue(2, 2, -1);
    board.SetValue(16, 2, 3);
    board.SetValue(2, -1, 3);
    board.SetValue(-1, 2, 3);
    board.SetValue(2, 16, 3);
    for (int v : {0, 3, 8, 16}) board.SetValue(1, 1, v);
    EXPECT_EQ(board.values, before);

    board.SetValue(2, 2, 0);
    EXPECT_EQ(board.values[2][2], 0);
    board.SetValue(2, 3, 8);  // a clash is stored all the same
    EXPECT_EQ(board.values[2][3], 8);
    board.SetValue(15, 15, 16);
    EXPECT_EQ(board.values[15][15], 16);
}

TEST(Completion, FullCleanGridWinsAndOthersDoNot) {
    SudokuBoard board = SolvedBoard();
    EXPECT_TRUE(board.IsComplete());
    EXPECT_FALSE(board.HasUnfinishedGame());

    board.values[7][3] = board.values[7][4];  // full, one clash
    EXPECT_FALSE(board.IsComplete());
    EXPECT_TRUE(board.HasUnfinishedGame());

    board = SolvedBoard();
    board.values[15][15] = 0;  // one empty cell
    EXPECT_FALSE(board.IsComplete());
    EXPECT_TRUE(board.HasUnfinishedGame());

    board = SolvedBoard();
    board.values[0][0] = 17;
    EXPECT_FALSE(board.IsComplete());

    EXPECT_FALSE(EmptyBoard().IsComplete());
    EXPECT_TRUE(EmptyBoard().HasUnfinishedGame());
}

TEST(Completion, BoardsWithoutAPlayableShape) {
    SudokuBoard fresh;
    EXPECT_TRUE(fresh.IsComplete());
    EXPECT_FALSE(fresh.HasUnfinishedGame());

    SudokuBoard notSquare = EmptyBoard();
    notSquare.boxSize = 3;
    EXPECT_FALSE(notSquare.HasUnfinishedGame());

    SudokuBoard missingRows = EmptyBoard();
    missingRows.values.resize(8);
    EXPECT_FALSE(missingRows.IsComplete());
    EXPECT_FALSE(missingRows.HasUnfinishedGame());
    missingRows.SetValue(12, 0, 1);  // guarded, not a write past the grid
}

}  // namespace
