// Every screen of the game, played through the real start-up and frame loop on the
// recording engine, drawn as its golden file says (game/golden_screen.h): the main
// menu, the difficulty menu, a new game, the picker with an item hovered, the in-game
// menu and the credits; and the play aids: the keyboard cell with the same-value
// tint over the open picker, the notes and the status line in note mode. Menus are captured once their animations have settled; the
// new game's board comes from a fixed seed. A new screen is one more step and one
// more ExpectScreen; VELTRANE_REGENERATE_GOLDEN=1 writes its file.
#include "game/golden_screen.h"

#include "app/states.h"
#include "game/scenario_support.h"
#include "sudoku/generator.h"

namespace {

constexpr int NewGameId = 1;
constexpr int GameCreditsId = 3;
constexpr std::uint32_t BoardSeed = 2024;

class GoldenScreenTest : public ScenarioTest {
protected:
    // The frame drawn last matches tests/golden/<name>.txt.
    void ExpectScreen(const std::string& name) {
        EXPECT_TRUE(MatchesGoldenFile(name, DescribeScene(engine))) << "while " << step;
    }

    // The centre of a free cell near the middle of the board, so that the picker's ring
    // lies wholly on the screen.
    bool FreeCellNearTheMiddle(float* x, float* y) {
        for (int row = 6; row < 10; ++row) {
            for (int column = 6; column < 10; ++column) {
                if (program().board.IsGiven(row, column)) continue;
                const Cell& cell = program().View.cells[row][column];
                *x = cell.x + cell.width / 2;
                *y = cell.y + cell.height / 2;
                return true;
            }
        }
        return false;
    }

    bool HoldsValue(CellRef cell) { return program().board.values[cell.row][cell.column] != 0; }

    std::string step;
};

}  // namespace

TEST_F(GoldenScreenTest, EveryScreenDrawsAsItsGoldenFile) {
    GameRunner game(folder.path());
    step = "the main menu";
    ASSERT_TRUE(SettleMenu(game));
    ExpectScreen("main_menu");

    step = "the difficulty menu";
    ASSERT_TRUE(Choose(game, NewGameId));
    ASSERT_EQ(program().GameState, DifficultyMenu);
    ASSERT_TRUE(SettleMenu(game));
    ExpectScreen("difficulty_menu");

    step = "a new game";
    SeedRandom(BoardSeed);
    ASSERT_TRUE(Choose(game, Easy));
    ASSERT_EQ(program().GameState, Playing);
    ASSERT_TRUE(game.Frame());
    ExpectScreen("new_game");

    step = "the picker with an item hovered";
    float cellX = 0, cellY = 0;
    ASSERT_TRUE(FreeCellNearTheMiddle(&cellX, &cellY));
    ASSERT_TRUE(game.Click(cellX, cellY));
    ASSERT_TRUE(program().Picker->open);
    float dx = 0, dy = 0;
    PickerItemOffset(5, &dx, &dy);
    InputFrame hover;
    hover.mouseX = program().Picker->x + dx + 8;
    hover.mouseY = program().Picker->y + dy + 8;
    ASSERT_TRUE(game.Frames(2, hover));
    ASSERT_EQ(program().Picker->hoverItem, 5);
    ExpectScreen("picker_hovered");

    step = "the keyboard cell on a value, its same-value tint and the open picker";
    InputFrame arrow = hover;
    arrow.key = GKK_DOWN;
    const KeyboardCell& keyboard = program().Aids.keyboard;
    for (int i = 0; i < 16 && !(keyboard.Shown() && HoldsValue(keyboard.Position())); ++i)
        ASSERT_TRUE(game.Frames(1, arrow));
    ASSERT_TRUE(keyboard.Shown() && HoldsValue(keyboard.Position()));
    ASSERT_TRUE(program().Picker->open);
    ExpectScreen("keyboard_tint_picker");

    step = "every free cell's candidates as notes, note mode in the status line";
    ASSERT_TRUE(game.RightClick(cellX, cellY));  // closes the picker
    ASSERT_TRUE(game.Key(GKK_A + ('N' - 'A')));
    ASSERT_TRUE(game.Key(GKK_A + ('M' - 'A')));
    ASSERT_TRUE(program().Aids.noteMode);
    ExpectScreen("notes_status");

    step = "the in-game menu";
    ASSERT_TRUE(game.Key(GKK_ESCAPE));
    ASSERT_EQ(program().GameState, GameMenu);
    ASSERT_TRUE(SettleMenu(game));
    ExpectScreen("game_menu");

    step = "the credits";
    ASSERT_TRUE(Choose(game, GameCreditsId));
    ASSERT_EQ(program().GameState, Credits);
    ASSERT_TRUE(game.Frame());
    ExpectScreen("credits");
}
