// Stories of the play screen, played through the real frame loop on the
// recording engine: the value picker, clashes, and a whole game won with the
// mouse alone, which the main menu then names.
#include <cmath>

#include "game/golden_screen.h"
#include "game/scenario_support.h"
#include "play/view/status_line.h"
#include "play/view/value_picker.h"
#include "sudoku/generator.h"
#include "support/boards.h"

namespace {

constexpr int ContinueId = 2, ExitId = 5;
constexpr std::uint32_t Blue = 0xFF0000DD, Black = 0xFF000000, Red = 0xFFEE0000;

class PlayScenarioTest : public ScenarioTest {
protected:
    const Cell& CellAt(int row, int column) { return program().view.cells[row][column]; }
    float CentreX(int row) { return CellAt(row, 0).x + 15; }
    float CentreY(int column) { return CellAt(0, column).y + 15; }
    ValuePicker& picker() { return *program().picker; }

    bool ClickCell(GameRunner& game, int row, int column) {
        return game.Click(CentreX(row), CentreY(column));
    }
    void ItemCentre(int item, float* x, float* y) {
        PickerItemOffset(item, x, y);
        *x += picker().x + 15;
        *y += picker().y + 15;
    }
    bool ClickItem(GameRunner& game, int item) {
        float x = 0, y = 0;
        ItemCentre(item, &x, &y);
        return game.Click(x, y);
    }
    // Opens the picker on the cell and picks the value there.
    bool Write(GameRunner& game, int row, int column, int value) {
        return ClickCell(game, row, column) && picker().open && ClickItem(game, value);
    }
    int value(int row, int column) { return program().board.values[row][column]; }
    // Opens the picker on the cell and presses (without releasing) the item of value;
    // (*x, *y) receive the item's centre.
    bool PressItem(GameRunner& game, int row, int column, int value, float* x, float* y) {
        if (!ClickCell(game, row, column)) return false;
        ItemCentre(value, x, y);
        return game.Frame(GameRunner::Press(*x, *y, GKK_LBUTTON));
    }
    // Fills every free cell with the mouse: click the cell, click the item of its value.
    // The last value is only pressed; its release frame is left to the caller.
    void PlayToTheLastPress(GameRunner& game, const Grid& solution, float* x, float* y) {
        std::vector<std::pair<int, int>> free;
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j)
                if (!program().board.IsGiven(i, j)) free.emplace_back(i, j);
        ASSERT_EQ(free.size(), 186u);
        for (std::size_t k = 0; k + 1 < free.size(); ++k) {
            const auto [i, j] = free[k];
            ASSERT_TRUE(Write(game, i, j, solution[i][j]));
            ASSERT_TRUE(game.messages.empty());
        }
        const auto [i, j] = free.back();
        ASSERT_TRUE(PressItem(game, i, j, solution[i][j], x, y));
    }
    // A free cell, searching from the given row.
    void FreeCell(int fromRow, int* row, int* column) {
        for (int i = fromRow; i < 16 + fromRow; ++i)
            for (int j = 0; j < 16; ++j)
                if (!program().board.IsGiven(i % 16, j)) {
                    *row = i % 16;
                    *column = j;
                    return;
                }
    }
    // The colour of the one glyph drawn in a cell in the last frame, 0 when none.
    std::uint32_t DrawnColour(int row, int column) {
        const auto glyphs = GlyphsInCell(row, column);
        return glyphs.size() == 1 ? glyphs[0].v[0].col : 0;
    }
    // The texture coordinates of the glyph drawn in a cell match the font's glyph for c.
    bool DrawsCharacter(int row, int column, char c) {
        const auto glyphs = GlyphsInCell(row, column);
        const gkSprite* glyph = program().MenuFont->Glyph(static_cast<unsigned char>(c));
        return glyphs.size() == 1 && glyph && glyphs[0].v[0].tx == glyph->GetQuad().v[0].tx &&
               glyphs[0].v[0].ty == glyph->GetQuad().v[0].ty;
    }
};

}  // namespace

TEST_F(PlayScenarioTest, GivensAndBoxGapsCloseThePickerAndRightClicksNeverOpenIt) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    int row = 0, column = 0;
    FreeCell(0, &row, &column);

    ASSERT_TRUE(ClickCell(game, row, column));
    EXPECT_TRUE(picker().open);
    EXPECT_EQ(picker().row, row);
    EXPECT_EQ(picker().column, column);
    EXPECT_TRUE(CellAt(row, column).selected);

    // A given: find one and click it.
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if (program().board.IsGiven(i, j) && (i < 4 || i > 12)) row = i, column = j;
    ASSERT_TRUE(program().board.IsGiven(row, column));
    ASSERT_TRUE(ClickCell(game, row, column));
    EXPECT_FALSE(picker().open);
    EXPECT_FALSE(CellAt(row, column).selected);

    FreeCell(5, &row, &column);
    ASSERT_TRUE(ClickCell(game, row, column));
    ASSERT_TRUE(picker().open);
    ASSERT_TRUE(game.Click(278, 300));  // the gap between the boxes of rows 3 and 4
    EXPECT_FALSE(picker().open);

    ASSERT_TRUE(game.RightClick(CentreX(row), CentreY(column)));
    EXPECT_FALSE(picker().open) << "a right click never opens the picker";
    ASSERT_TRUE(ClickCell(game, row, column));
    ASSERT_TRUE(picker().open);
    ASSERT_TRUE(game.RightClick(700, 650));
    EXPECT_FALSE(picker().open);
}

TEST_F(PlayScenarioTest, ItemsWriteEmptyAndOnlyTouchThePickersCell) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Hard));
    int row = 0, column = 0;
    FreeCell(6, &row, &column);
    const Grid before = program().board.values;

    ASSERT_TRUE(Write(game, row, column, 16));
    EXPECT_FALSE(picker().open);
    EXPECT_EQ(value(row, column), 16);
    Grid expected = before;
    expected[row][column] = 16;
    EXPECT_EQ(program().board.values, expected) << "the cells under the item are not touched";
    game.Frame();
    EXPECT_TRUE(DrawsCharacter(row, column, 'G'));

    ASSERT_TRUE(Write(game, row, column, 0));
    EXPECT_EQ(value(row, column), 0);
    game.Frame();
    EXPECT_TRUE(GlyphsInCell(row, column).empty());
}

TEST_F(PlayScenarioTest, ClashingValueIsWrittenRedAndTurnsBlackWhenTheClashGoes) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Hard));
    // Two free cells in one row, outside each other's box, and a value both allow: searched over
    // every row and pair, since a random puzzle need not offer one in its first such pair.
    int row = -1, first = -1, second = -1, v = 0;
    const auto bothAllow = [&](int i, int a, int b) {
        for (int value = 1; value <= 16; ++value)
            if (program().board.IsAllowed(i, a, value) && program().board.IsAllowed(i, b, value)) return value;
        return 0;
    };
    for (int i = 0; i < 16 && v == 0; ++i)
        for (int a = 0; a < 16 && v == 0; ++a)
            for (int b = (a / 4 + 1) * 4; b < 16 && v == 0; ++b) {
                if (program().board.IsGiven(i, a) || program().board.IsGiven(i, b)) continue;
                if ((v = bothAllow(i, a, b)) != 0) row = i, first = a, second = b;
            }
    ASSERT_NE(v, 0);

    ASSERT_TRUE(Write(game, row, first, v));
    game.Frame();
    EXPECT_EQ(DrawnColour(row, first), Black);
    ASSERT_TRUE(Write(game, row, second, v));
    game.Frame();
    EXPECT_EQ(value(row, second), v) << "a clashing value is written all the same";
    EXPECT_EQ(DrawnColour(row, first), Red);
    EXPECT_EQ(DrawnColour(row, second), Red);

    // The picker's label for v is red on a clashing cell.
    ASSERT_TRUE(ClickCell(game, row, second));
    game.Frame();
    float x = 0, y = 0;
    ItemCentre(v, &x, &y);
    bool labelRed = false;
    for (const Quad& q : GlyphQuads())
        if (std::fabs(q.v[0].y - (y - 15 + 3)) < 0.01f && q.v[0].x > x - 15 && q.v[0].x < x + 15)
            labelRed = q.v[0].col == 0xEEEE0000;
    EXPECT_TRUE(labelRed);
    ASSERT_TRUE(game.RightClick(x, y));

    ASSERT_TRUE(Write(game, row, first, 0));
    game.Frame();
    EXPECT_EQ(DrawnColour(row, second), Black) << "black again once the clash is gone";
}

TEST_F(PlayScenarioTest, LeavingTheWindowKeepsTheHighlightAndThePicker) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    int row = 0, column = 0;
    FreeCell(3, &row, &column);
    ASSERT_TRUE(ClickCell(game, row, column));
    ASSERT_TRUE(picker().open);
    float x = 0, y = 0;
    ItemCentre(5, &x, &y);
    InputFrame over;
    over.mouseX = x;
    over.mouseY = y;
    game.Frame(over);
    EXPECT_EQ(picker().hoverItem, 5);

    InputFrame outside;
    outside.mouseOver = false;
    outside.mouseX = 5;
    outside.mouseY = 5;
    outside.key = GKK_LBUTTON;
    game.Frames(3, outside);
    EXPECT_TRUE(picker().open);
    EXPECT_EQ(picker().hoverItem, 5);

    InputFrame onCell;
    onCell.mouseX = CentreX(row);
    onCell.mouseY = CentreY(column);
    ASSERT_TRUE(game.RightClick(onCell.mouseX, onCell.mouseY));
    EXPECT_TRUE(CellAt(row, column).selected);
    outside.key = 0;
    game.Frames(2, outside);
    EXPECT_TRUE(CellAt(row, column).selected) << "the highlight stays on the last cell";
}

TEST_F(PlayScenarioTest, EscapeLeavesThePickerOpenOnResumingAndOpensTheMenuOnlyAsTheFramesKey) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Medium));
    int row = 0, column = 0;
    FreeCell(9, &row, &column);
    InputFrame escapeThenClick = GameRunner::Press(CentreX(row), CentreY(column), GKK_LBUTTON);
    escapeThenClick.presses = {{GKK_ESCAPE}};
    ASSERT_TRUE(game.Frame(escapeThenClick));  // the click is the frame's key: play stays, the ring opens
    ASSERT_TRUE(picker().open);
    game.Key(GKK_ESCAPE);
    ASSERT_EQ(program().GameState, GameMenu);
    game.Frames(10);
    game.Key(GKK_ESCAPE);
    ASSERT_EQ(program().GameState, Playing);
    EXPECT_TRUE(picker().open);
    EXPECT_EQ(picker().row, row);
    EXPECT_EQ(picker().column, column);
    game.Frame();
    EXPECT_EQ(QuadsWithTexture(program().CircleTexture).size(), 17u);
}

TEST_F(PlayScenarioTest, AWholeGameWonWithTheMouseAlone) {
    const Grid solution = SolutionForSeed(2024);
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Hard, 2024));
    ASSERT_EQ(CountGivens(), 70);

    float itemX = 0, itemY = 0;
    PlayToTheLastPress(game, solution, &itemX, &itemY);
    EXPECT_TRUE(program().board.IsComplete());
    EXPECT_TRUE(game.messages.empty());

    InputFrame release;
    release.mouseX = itemX;
    release.mouseY = itemY;
    game.Frame(release);
    ASSERT_EQ(game.messages.size(), 1u) << "the next frame announces the win";
    EXPECT_EQ(game.messages[0].text, "You have won!");
    EXPECT_EQ(game.messages[0].caption, "Congratulation");
    EXPECT_FALSE(game.messages[0].errorIcon);
    EXPECT_EQ(program().GameState, MainMenu);
    EXPECT_EQ(program().PreviousState, Playing);

    ASSERT_TRUE(SettleMenu(game));
    EXPECT_FALSE(IsEnabled(ContinueId));
    char time[16];
    const std::string won = std::string("Hard, won in ") +
                            FormatPlayTime(program().aids.PlaySeconds(), time, sizeof time) + " - a new best";
    EXPECT_NE(DescribeScene(engine, {program().MenuFont.get()}).find('"' + won + '"'), std::string::npos)
        << "the main menu's foot says what was won";
    ASSERT_TRUE(Choose(game, ExitId));
    game.Frames(5);
    ASSERT_TRUE(game.Ended());
    EXPECT_EQ(game.messages.size(), 1u);

    SudokuBoard saved;
    saved.directory = folder.path();
    ASSERT_TRUE(saved.Load("game.save"));
    EXPECT_TRUE(saved.IsComplete());
    EXPECT_EQ(saved.values, solution);
    EXPECT_FALSE(saved.HasUnfinishedGame());
}

TEST_F(PlayScenarioTest, EscapeInTheWinningFrameShowsTheMenuFirstAndTheMessageAfterResuming) {
    const Grid solution = SolutionForSeed(77);
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Hard, 77));

    float itemX = 0, itemY = 0;
    PlayToTheLastPress(game, solution, &itemX, &itemY);
    ASSERT_TRUE(program().board.IsComplete());

    game.Key(GKK_ESCAPE);
    EXPECT_TRUE(game.messages.empty());
    EXPECT_EQ(program().GameState, GameMenu);
    game.Frames(10);
    EXPECT_TRUE(game.messages.empty());
    game.Key(GKK_ESCAPE);
    EXPECT_EQ(program().GameState, Playing);
    EXPECT_TRUE(game.messages.empty());
    game.Frame();
    ASSERT_EQ(game.messages.size(), 1u);
    EXPECT_EQ(game.messages[0].text, "You have won!");
    EXPECT_EQ(program().GameState, MainMenu);
}

TEST_F(PlayScenarioTest, FullBoardWithAClashIsNotAWin) {
    const Grid solution = SolutionForSeed(5);
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Easy, 5));
    // Fill directly except one cell, then write a clashing value there with the mouse.
    int lastRow = -1, lastColumn = -1;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if (!program().board.IsGiven(i, j)) {
                program().board.SetValue(i, j, solution[i][j]);
                lastRow = i;
                lastColumn = j;
            }
    program().board.SetValue(lastRow, lastColumn, 0);
    const int wrong = solution[lastRow][lastColumn] % 16 + 1;
    ASSERT_TRUE(Write(game, lastRow, lastColumn, wrong));
    game.Frames(5);
    EXPECT_TRUE(game.messages.empty());
    EXPECT_EQ(program().GameState, Playing);
    ASSERT_TRUE(Write(game, lastRow, lastColumn, solution[lastRow][lastColumn]));
    game.Frame();
    EXPECT_EQ(game.messages.size(), 1u);
}

TEST_F(PlayScenarioTest, TheLinesUnderTheBoardGiveWayToTheRingOnEveryCell) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    const auto lineGlyphs = [&] {
        std::vector<Quad> glyphs;
        for (const Quad& q : GlyphQuads())
            if (std::fabs(q.v[0].y - 604) < 1 || std::fabs(q.v[0].y - 628) < 1) glyphs.push_back(q);
        return glyphs;
    };
    const auto overlap = [](const Quad& a, const Quad& b) {
        return a.v[0].x < b.v[2].x && b.v[0].x < a.v[2].x && a.v[0].y < b.v[2].y && b.v[0].y < a.v[2].y;
    };
    int rings = 0, linesKept = 0;
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 16; ++column) {
            program().aids.message.Set("Hint: a message on the second line", program().aids.history.Revision());
            picker().OpenOn(row, column, CellAt(row, column).x, CellAt(row, column).y);
            ASSERT_TRUE(game.Frame());
            const auto items = QuadsWithTexture(program().CircleTexture);
            ASSERT_EQ(items.size(), 17u);
            const auto glyphs = lineGlyphs();
            for (const Quad& item : items)
                for (const Quad& glyph : glyphs)
                    ASSERT_FALSE(overlap(item, glyph)) << "ring on " << row << ", " << column;
            ++rings;
            linesKept += column < 8 && glyphs.size() > 60;  // the ring stays far above both lines
        }
    EXPECT_EQ(rings, 256);
    EXPECT_EQ(linesKept, 128) << "lines the ring does not reach are drawn";
}
