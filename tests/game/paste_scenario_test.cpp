// Stories of copy and paste, played through the real frame loop on the recording
// engine: Ctrl+C and Ctrl+Shift+C put the puzzle's and the grid's codes on the
// clipboard (and write no value C), and Ctrl+V of them starts that game anew, saved at
// once; a refused code changes nothing and says why, in the main menu and in play,
// where a good one starts the game named by its grade.
#include <chrono>
#include <thread>

#include "app/copy_paste.h"
#include "game/scenario_support.h"
#include "save/save.h"
#include "sudoku/generator.h"
#include "sudoku/logic_generator.h"
#include "sudoku/puzzle_code.h"

namespace {

const int KeyC = GKK_A + ('C' - 'A'), KeyV = GKK_A + ('V' - 'A');

class PasteScenarioTest : public ScenarioTest {
protected:
    std::string& clipboard() { return RecordingEngine::Instance().clipboard; }
    SudokuBoard& board() { return program().board; }
    // Ctrl+V of text, then frames a millisecond apart until the check on its worker has answered.
    bool Paste(GameRunner& game, const std::string& text) {
        clipboard() = text;
        if (!game.Frame(KeyOnlyFrame(KeyV, true))) return false;
        for (int i = 0; i < 20000 && program().paste.check.Busy(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!game.Frame()) return false;
        }
        return game.Frame();
    }
    // The message line's text (shown while the grid stays as it is).
    std::string Message() { return program().aids.message.text; }
    std::string Saved() {
        WaitForSavedFiles();
        return ReadFile(folder.file("game.save"));
    }
};

}  // namespace

TEST_F(PasteScenarioTest, CopyThenPasteGivesBackTheSameGameSavedAtOnce) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Medium, 21));
    const Grid givens = board().givens;
    const std::string first = Saved();
    // Ctrl+C over an empty cell, where C alone would write the value C.
    const auto column = std::find(givens[0].begin(), givens[0].end(), 0) - givens[0].begin();
    const Cell& cell = program().view.cells[0][column];
    InputFrame copy = GameRunner::Press(cell.x + 15, cell.y + 15, KeyC);
    copy.control = true;
    ASSERT_TRUE(game.Frame(copy));
    EXPECT_EQ(clipboard(), FormatPuzzleCode(givens));
    EXPECT_EQ(board().values, givens);

    // A value typed and the grid copied with it; the puzzle pasted back drops it.
    const int value = SolutionForSeed(21)[0][column];
    ASSERT_TRUE(game.Key(value <= 9 ? GKK_0 + value : GKK_A + value - 10, cell.x + 15, cell.y + 15));
    ASSERT_TRUE(game.Frame(KeyOnlyFrame(KeyC, true, true)));
    const std::string grid = clipboard();
    EXPECT_EQ(grid, FormatPuzzleCode(board().values));
    ASSERT_TRUE(Paste(game, FormatPuzzleCode(givens)));
    EXPECT_EQ(Message(), "Started the pasted puzzle");
    EXPECT_EQ(Saved(), first) << "the same game, saved at once";
    ASSERT_TRUE(Paste(game, grid));
    EXPECT_EQ(FormatPuzzleCode(board().givens), grid);
}

TEST_F(PasteScenarioTest, ARefusedCodeChangesNothingAndSaysWhy) {
    LogicPuzzle medium;
    ASSERT_EQ(MakeLogicPuzzle(Medium, 8, medium), LogicMake::Made);
    const std::string code = FormatPuzzleCode(medium.givens);
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    ASSERT_TRUE(Paste(game, "11" + code.substr(2)));
    EXPECT_EQ(program().paste.menuMessage,
              "Cannot paste: clash: 1 at line 1, position 1 and line 1, position 2");
    const auto glyphs = GlyphQuads();  // the reason's, under the menu's items
    EXPECT_GT(std::count_if(glyphs.begin(), glyphs.end(), [](auto& q) { return q.v[0].y == PasteMessageY; }),
              40);

    ASSERT_TRUE(Paste(game, code));
    ASSERT_TRUE(game.FramesUntil([this] { return program().GameState == Playing; }, 120));
    EXPECT_EQ(board().givens, medium.givens);
    const PuzzleOrigin graded{PuzzleKind::Pasted, Medium, 1};  // "Pasted: one solution, Medium by logic"
    EXPECT_EQ(program().aids.origin, graded);
    const std::string saved = Saved();
    const std::pair<std::string, const char*> refused[] = {
        {"GG" + code.substr(2), "clash: G at line 1"},
        {std::string(kMaxPuzzleTextBytes + 100, '.'), "longer than 64 KB"},
        {FormatPuzzleCode(medium.solution), "every cell is filled"},
        {"", "no text could be read from the clipboard"},
    };
    for (const auto& [text, reason] : refused) {
        ASSERT_TRUE(Paste(game, text)) << reason;
        EXPECT_EQ(Message().find(std::string("Cannot paste: ") + reason), 0u) << Message();
        EXPECT_EQ(board().values, medium.givens) << reason;
        EXPECT_EQ(program().aids.origin, graded) << reason;
        EXPECT_EQ(Saved(), saved) << reason;
    }
}
