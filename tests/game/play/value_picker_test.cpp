// Geometry and hit rules of the value picker and of the play screen's mouse
// handling, driven directly (no frame loop).
#include <gtest/gtest.h>

#include <cmath>

#include "play/view/board_view.h"
#include "play/input/play_input.h"
#include "play/view/value_picker.h"
#include "support/boards.h"
#include "sudoku/board.h"
#include "support/recording_engine.h"

namespace {

struct Offset {
    int item;
    float dx, dy;
};

class PlayScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        board = EmptyBoard();
        view.BuildBoardView({nullptr, &board, &select, &unselect});
        picker.itemSprite = &circle;
        picker.board = &board;
        screen = {&board, &view, &picker, nullptr};
    }

    void Click(float px, float py, int key = GKK_LBUTTON) { HandlePlayMouse(screen, key, px, py); }
    void MoveTo(float px, float py) { HandlePlayMouse(screen, 0, px, py); }
    void Give(int row, int column, int value) {
        board.values[row][column] = value;
        board.givens[row][column] = value;
    }
    int SelectedCount() const {
        int n = 0;
        for (const auto& row : view.cells)
            for (const Cell& cell : row) n += cell.selected ? 1 : 0;
        return n;
    }
    // Centre of picker item k for the picker's current anchor.
    void ItemCentre(int k, float* px, float* py) const {
        PickerItemOffset(k, px, py);
        *px += picker.x + 15.0f;
        *py += picker.y + 15.0f;
    }

    gkSprite select{0, 0, 0, 30, 30};
    gkSprite unselect{0, 0, 0, 30, 30};
    gkSprite circle{0, 0, 0, 30, 30};
    SudokuBoard board;
    BoardView view;
    ValuePicker picker;
    PlayScreen screen;
};

}  // namespace

TEST(ValuePickerGeometry, ItemOffsetsFollowTheRingCounterClockwiseFromBelow) {
    const Offset expected[] = {{0, 0.0f, 90.0f},   {1, 32.5f, 83.9f},  {4, 89.6f, 8.3f},   {8, 16.5f, -88.5f},
                               {9, -16.5f, -88.5f}, {13, -89.6f, 8.3f}, {16, -32.5f, 83.9f}};
    for (const Offset& e : expected) {
        float dx = 0, dy = 0;
        PickerItemOffset(e.item, &dx, &dy);
        EXPECT_NEAR(dx, e.dx, 0.05f) << "item " << e.item;
        EXPECT_NEAR(dy, e.dy, 0.05f) << "item " << e.item;
    }
}

TEST_F(PlayScreenTest, PickerOnTheFirstCellPlacesItemsAroundIt) {
    Click(160, 110);  // cell [0][0], anchor (157, 107)
    ASSERT_TRUE(picker.open);
    EXPECT_EQ(picker.row, 0);
    EXPECT_EQ(picker.column, 0);
    float dx = 0, dy = 0;
    PickerItemOffset(0, &dx, &dy);
    EXPECT_NEAR(picker.x + dx, 157.0f, 0.01f);
    EXPECT_NEAR(picker.y + dy, 197.0f, 0.01f);
    PickerItemOffset(8, &dx, &dy);
    EXPECT_NEAR(picker.x + dx, 173.5f, 0.05f);
    EXPECT_NEAR(picker.y + dy, 18.5f, 0.05f);
}

TEST_F(PlayScreenTest, OverlapOfNeighbouringItemsPicksTheLowerNumber) {
    picker.OpenOn(5, 5, 309, 259);
    // Items 2 and 3 share a strip about 10 x 3.6 pixels wide.
    const float px = 309 + 85.0f, py = 259 + 68.0f;
    ASSERT_TRUE(picker.ItemContains(2, px, py));
    ASSERT_TRUE(picker.ItemContains(3, px, py));
    EXPECT_TRUE(picker.IsOverItem(px, py));
    EXPECT_EQ(picker.hoverItem, 2);
    EXPECT_EQ(picker.PickItem(px, py), 2);
    EXPECT_FALSE(picker.open);
}

TEST_F(PlayScreenTest, ItemEdgesAreStrict) {
    picker.OpenOn(5, 5, 309, 259);
    // Item 0's rectangle is (309, 349) .. (339, 379).
    EXPECT_FALSE(picker.ItemContains(0, 309, 360));
    EXPECT_FALSE(picker.ItemContains(0, 339, 360));
    EXPECT_FALSE(picker.ItemContains(0, 320, 349));
    EXPECT_TRUE(picker.ItemContains(0, 309.5f, 349.5f));
}

TEST_F(PlayScreenTest, ClosedPickerIgnoresPointsAndKeepsItsHover) {
    picker.hoverItem = 7;
    EXPECT_FALSE(picker.IsOverItem(160, 200));
    EXPECT_EQ(picker.hoverItem, 7);
    EXPECT_EQ(picker.PickItem(160, 200), -1);
}

TEST_F(PlayScreenTest, SharedEdgeOfTwoCellsIsOverNeitherAndClosesThePicker) {
    Click(160, 110);
    ASSERT_TRUE(picker.open);
    Click(187, 120);  // between rows 0 and 1
    EXPECT_FALSE(picker.open);
    EXPECT_EQ(SelectedCount(), 0);
    MoveTo(187.5f, 120);
    EXPECT_TRUE(view.cells[1][0].selected);
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(PlayScreenTest, GivenAndBoxGapCloseThePickerAndNeverHighlight) {
    Give(2, 2, 7);
    Click(160, 110);
    ASSERT_TRUE(picker.open);
    Click(220, 170);  // cell [2][2], a given
    EXPECT_FALSE(picker.open);
    EXPECT_FALSE(view.cells[2][2].selected);
    Click(160, 110);
    ASSERT_TRUE(picker.open);
    Click(278, 120);  // the 2-pixel gap between rows 3 and 4 (x 277..279)
    EXPECT_FALSE(picker.open);
    Click(160, 110);
    Click(50, 50);  // outside the board
    EXPECT_FALSE(picker.open);
}

TEST_F(PlayScreenTest, RightClickClosesAndNeverOpens) {
    Click(160, 110, GKK_RBUTTON);
    EXPECT_FALSE(picker.open);
    EXPECT_TRUE(view.cells[0][0].selected);  // the highlight still follows the pointer
    Click(160, 110);
    ASSERT_TRUE(picker.open);
    Click(600, 600, GKK_RBUTTON);
    EXPECT_FALSE(picker.open);
}

TEST_F(PlayScreenTest, ItemOverAnotherCellSetsOnlyThePickersCell) {
    Click(160 + 30 * 5, 110 + 30 * 5);  // cell [5][5]
    ASSERT_TRUE(picker.open);
    const int row = picker.row, column = picker.column;
    float px = 0, py = 0;
    ItemCentre(4, &px, &py);  // item 4 lies over the cells to the right
    MoveTo(px, py);
    EXPECT_EQ(picker.hoverItem, 4);
    EXPECT_EQ(SelectedCount(), 0);  // no cell is highlighted under an item
    Click(px, py);
    EXPECT_FALSE(picker.open);
    EXPECT_EQ(board.values[row][column], 4);
    int written = 0;
    for (const auto& line : board.values)
        for (int v : line) written += v != 0;
    EXPECT_EQ(written, 1);
}

TEST_F(PlayScreenTest, ItemZeroEmptiesAndItemSixteenWritesSixteen) {
    Click(410, 360);
    ASSERT_TRUE(picker.open);
    float px = 0, py = 0;
    ItemCentre(16, &px, &py);
    Click(px, py);
    EXPECT_EQ(board.values[picker.row][picker.column], 16);
    Click(410, 360);
    ItemCentre(0, &px, &py);
    Click(px, py);
    EXPECT_EQ(board.values[picker.row][picker.column], 0);
}

TEST_F(PlayScreenTest, ItemOnAGivenCellIsRefusedByTheBoard) {
    Click(410, 360);
    Give(picker.row, picker.column, 9);  // becomes a given while the picker is open
    float px = 0, py = 0;
    ItemCentre(3, &px, &py);
    Click(px, py);
    EXPECT_EQ(board.values[picker.row][picker.column], 9);
}

TEST(CellValueText, ValuesTenToSixteenAreLetters) {
    char text[16];
    EXPECT_STREQ(CellValueText(1, text, sizeof text), "1");
    EXPECT_STREQ(CellValueText(9, text, sizeof text), "9");
    EXPECT_STREQ(CellValueText(10, text, sizeof text), "A");
    EXPECT_STREQ(CellValueText(16, text, sizeof text), "G");
    EXPECT_STREQ(CellValueText(17, text, sizeof text), "17");
    EXPECT_STREQ(CellValueText(-5, text, sizeof text), "-5");
}

TEST(BoardViewGeometry, CellsSitInBoxesWithTwoPixelGaps) {
    SudokuBoard board = EmptyBoard();
    BoardView view;
    view.BuildBoardView({nullptr, &board, nullptr, nullptr});
    EXPECT_FLOAT_EQ(view.BoardOrigin.x, 155);
    EXPECT_FLOAT_EQ(view.BoardOrigin.y, 105);
    const float xs[16] = {157, 187, 217, 247, 279, 309, 339, 369, 401, 431, 461, 491, 523, 553, 583, 613};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(view.cells[i][0].x, xs[i]);
        EXPECT_FLOAT_EQ(view.cells[0][i].y, xs[i] - 50);
        EXPECT_EQ(view.cells[i][3].row, i);
        EXPECT_EQ(view.cells[3][i].column, i);
    }
    ASSERT_TRUE(view.BoardBackdrop);
    // Building again replaces the backdrop: the engine references held stay the same.
    const int references = RecordingEngine::Instance().references;
    view.BuildBoardView({nullptr, &board, nullptr, nullptr});
    EXPECT_TRUE(view.BoardBackdrop);
    EXPECT_EQ(RecordingEngine::Instance().references, references);
}
