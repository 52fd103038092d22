// Stories of logic puzzles in the difficulty menu, through the real frame loop on the
// recording engine: L or a click switches the line under the menu and the setting outlives the
// program; in logic mode a level chosen is made on the worker while the frames go on
// with "Making a puzzle..." drawn, then the game starts, saved at once, and comes back
// with its level after a restart.
#include <chrono>
#include <thread>

#include "app/puzzles/logic_games.h"
#include "game/golden_screen.h"
#include "game/scenario_support.h"
#include "play/view/layout.h"
#include "save/game_state.h"
#include "save/save.h"
#include "sudoku/generator.h"

namespace {

constexpr int KeyL = GKK_A + ('L' - 'A');

class LogicGamesTest : public ScenarioTest {
protected:
    // The last frame drawn shows this text (one glyph run).
    bool Shows(const std::string& text) {
        const std::string scene = DescribeScene(engine, {program().MenuFont.get()});
        return scene.find('"' + text + '"') != std::string::npos;
    }
    bool ToDifficultyMenu(GameRunner& game) {
        return Choose(game, 1) && program().GameState == DifficultyMenu && SettleMenu(game);
    }
};

}  // namespace

TEST_F(LogicGamesTest, LOrAClickSwitchesThePuzzlesNamedUnderTheMenuAndTheSettingIsKept) {
    {
        GameRunner game(folder.path());
        ASSERT_TRUE(ToDifficultyMenu(game));
        EXPECT_TRUE(Shows(ClassicPuzzlesText));
        ASSERT_TRUE(game.Key(KeyL));
        EXPECT_TRUE(program().aids.settings.logicPuzzles);
        EXPECT_TRUE(Shows(LogicPuzzlesText)) << "drawn in the frame of the key";
        EXPECT_EQ(program().GameState, DifficultyMenu) << "L chooses nothing";
        game.Close();
    }
    EXPECT_NE(ReadFile(folder.file("game.settings")).find("puzzles=logic\n"), std::string::npos);
    GameRunner game(folder.path());
    ASSERT_TRUE(ToDifficultyMenu(game));
    EXPECT_TRUE(Shows(LogicPuzzlesText)) << "kept for the next start";
    ASSERT_TRUE(game.Click(ScreenCenterX, MenuMessageY + MenuItemPitch + 6));  // one item lower in logic mode
    EXPECT_TRUE(Shows(ClassicPuzzlesText)) << "a click on the line switches too";
    EXPECT_EQ(program().GameState, DifficultyMenu);
}

TEST_F(LogicGamesTest, ALogicGameStartsOnceTheWorkerHasMadeItAndKeepsItsLevel) {
    WriteTextFile(folder.file("game.settings"), "puzzles=logic\n");
    {
        GameRunner game(folder.path());
        ASSERT_TRUE(ToDifficultyMenu(game));
        SeedRandom(3);
        game.Key(GKK_UP);
        ASSERT_EQ(FocusedId(), Easy);
        ASSERT_TRUE(game.Key(GKK_ENTER));
        ASSERT_TRUE(game.FramesUntil([] { return MakingPuzzle(TheProgram()); }, 120));
        EXPECT_TRUE(Shows(MakingPuzzleText)) << "the frame that starts the worker draws the line";
        int framesWhileMaking = 0;
        while (program().GameState == DifficultyMenu && framesWhileMaking < 20000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_TRUE(game.Frame());
            ++framesWhileMaking;
        }
        ASSERT_EQ(program().GameState, Playing);
        EXPECT_EQ(program().board.difficulty, Easy);
        EXPECT_EQ(program().aids.origin, (PuzzleOrigin{PuzzleKind::Logic, Easy, 1}));
        WaitForSavedFiles();
        EXPECT_EQ(ReadFile(folder.file("game.save")), SavedGameText(program().board)) << "saved at once";
        ASSERT_TRUE(game.Frame());
        EXPECT_NE(DescribeScene(engine, {program().MenuFont.get()}).find("Easy, by logic"),
                  std::string::npos);
        game.Close();
    }
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    ASSERT_TRUE(Choose(game, 2));  // Continue previous game
    ASSERT_EQ(program().GameState, Playing);
    EXPECT_EQ(program().board.difficulty, Easy) << "the level comes from game.state, not from the givens";
    EXPECT_EQ(program().aids.origin.kind, PuzzleKind::Logic);
}

// Logic mode's menu has Expert between Hard and the return item; the classic one keeps
// its three levels. An Expert puzzle chosen starts a game of that level.
TEST_F(LogicGamesTest, ExpertIsOfferedInLogicModeOnlyAndStartsAnExpertGame) {
    {
        GameRunner game(folder.path());
        ASSERT_TRUE(ToDifficultyMenu(game));
        EXPECT_EQ(program().Gui->GetControl(Expert), nullptr);
        ASSERT_TRUE(game.Key(KeyL));
        ASSERT_TRUE(SettleMenu(game));
        ASSERT_NE(program().Gui->GetControl(Expert), nullptr);
        EXPECT_EQ(FocusedId(), Medium) << "the focus stays";
        SeedRandom(5);
        game.Key(GKK_DOWN);
        game.Key(GKK_DOWN);
        ASSERT_EQ(FocusedId(), Expert);
        ASSERT_TRUE(game.Key(GKK_ENTER));
        for (int frames = 0; program().GameState == DifficultyMenu && frames < 60000; ++frames) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_TRUE(game.Frame());
        }
        ASSERT_EQ(program().GameState, Playing);
        EXPECT_EQ(program().aids.origin, (PuzzleOrigin{PuzzleKind::Logic, Expert, 1}));
        ASSERT_TRUE(game.Frame());
        EXPECT_NE(DescribeScene(engine, {program().MenuFont.get()}).find("Expert, by logic"),
                  std::string::npos);
        WaitForSavedFiles();
        game.Close();
    }
    GameRunner again(folder.path());
    ASSERT_TRUE(SettleMenu(again));
    ASSERT_TRUE(Choose(again, 2));  // Continue previous game
    EXPECT_EQ(program().aids.origin, (PuzzleOrigin{PuzzleKind::Logic, Expert, 1})) << "kept in game.state";
}
