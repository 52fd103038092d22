// Stories of copy and paste, played through the real frame loop on the recording
// engine: Ctrl+C and Ctrl+Shift+C put the puzzle's and the grid's codes on the
// clipboard (and write no value C); Ctrl+V of them starts the same game anew, saved at
// once and named by its origin, also from the main menu; a refused code changes
// nothing and says why, on the play screen and in the main menu.
#include <chrono>
#include <cmath>
#include <thread>

#include "game/scenario_support.h"
#include "play/status_line.h"
#include "save/game_state.h"
#include "save/save.h"
#include "sudoku/generator.h"
#include "sudoku/logic_generator.h"
#include "sudoku/puzzle_code.h"
#include "support/boards.h"

namespace {

const int KeyC = GKK_A + ('C' - 'A');
const int KeyV = GKK_A + ('V' - 'A');

class PasteScenarioTest : public ScenarioTest {
protected:
    RecordingEngine& engine() { return RecordingEngine::Instance(); }
    SudokuBoard& board() { return program().board; }
    bool Control(GameRunner& game, int key, bool shift = false) { return game.Frame(KeyOnlyFrame(key, true, shift)); }
    // Ctrl+V, then frames a millisecond apart until the check on its worker has answered.
    bool Paste(GameRunner& game) {
        if (!Control(game, KeyV)) return false;
        for (int i = 0; i < 20000 && program().paste.check.Busy(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!game.Frame()) return false;
        }
        return !program().paste.check.Busy() && game.Frame();
    }
    std::string Message() {
        const char* text = StatusMessageText(board(), program().Aids);
        return text ? text : "";
    }
    std::string Name() {
        char name[64];
        return PuzzleName(board(), program().Aids.origin, name, sizeof name);
    }
    std::string SavedBytes() {
        WaitForSavedFiles();
        return ReadFile(folder.file("game.save"));
    }
    int GlyphsOnLine(float y) {
        int glyphs = 0;
        for (const Quad& q : GlyphQuads()) glyphs += std::fabs(q.v[0].y - y) < 1;
        return glyphs;
    }
};

LogicPuzzle MediumPuzzle() {
    LogicPuzzle puzzle;
    EXPECT_EQ(MakeLogicPuzzle(Medium, 8, puzzle), LogicMake::Made);
    return puzzle;
}

}  // namespace

TEST_F(PasteScenarioTest, CopyThenPasteGivesBackTheSameGameSavedAtOnce) {
    GameRunner game(folder.path());
    SeedRandom(21);
    ASSERT_TRUE(StartNewGame(game, Medium));
    const Grid givens = board().givens;
    ASSERT_TRUE(Control(game, KeyC));
    EXPECT_EQ(engine().clipboard, FormatPuzzleCode(givens));
    EXPECT_EQ(board().values, givens) << "Ctrl+C writes no value C";

    // A value typed, the grid copied with it; the puzzle pasted back drops it.
    const auto column = std::find(givens[0].begin(), givens[0].end(), 0) - givens[0].begin();
    const int value = SolutionForSeed(21)[0][column];
    const Cell& cell = program().View.cells[0][column];
    ASSERT_TRUE(game.Key(value <= 9 ? GKK_0 + value : GKK_A + value - 10, cell.x + 15, cell.y + 15));
    ASSERT_TRUE(Control(game, KeyC, true));
    const std::string gridCode = FormatPuzzleCode(board().values);
    EXPECT_EQ(engine().clipboard, gridCode);
    EXPECT_NE(gridCode, FormatPuzzleCode(givens));
    engine().clipboard = FormatPuzzleCode(givens);
    ASSERT_TRUE(Paste(game));
    EXPECT_EQ(Message(), "Started the pasted puzzle");
    EXPECT_EQ(board().givens, givens);
    EXPECT_EQ(board().values, givens);
    EXPECT_EQ(program().Aids.history.UndoChanges().size(), 0u);
    EXPECT_EQ(program().Aids.origin.kind, PuzzleKind::Pasted);
    EXPECT_EQ(SavedBytes(), SavedGameText(board())) << "saved at once";

    // The grid's code, pasted: its values are the new givens.
    engine().clipboard = gridCode;
    ASSERT_TRUE(Paste(game));
    EXPECT_EQ(FormatPuzzleCode(board().givens), gridCode);

    // A logic puzzle's code: one solution, graded by its hardest technique.
    const LogicPuzzle medium = MediumPuzzle();
    engine().clipboard = FormatPuzzleCode(medium.givens);
    ASSERT_TRUE(Paste(game));
    EXPECT_EQ(board().givens, medium.givens);
    EXPECT_EQ(program().Aids.origin, (PuzzleOrigin{PuzzleKind::Pasted, Medium, 1}));
    EXPECT_EQ(Name(), "Pasted: one solution, Medium by logic");
    game.Close();

    // The next start continues the pasted game, its origin kept in game.state.
    GameRunner again(folder.path());
    ASSERT_TRUE(Choose(again, 2));
    EXPECT_EQ(board().givens, medium.givens);
    EXPECT_EQ(Name(), "Pasted: one solution, Medium by logic");
}

TEST_F(PasteScenarioTest, CtrlVInTheMainMenuStartsThePastedPuzzle) {
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    engine().clipboard = std::string(256, '.');
    ASSERT_TRUE(Paste(game));
    ASSERT_TRUE(game.FramesUntil([this] { return program().GameState == Playing; }, 120));
    EXPECT_EQ(board().givens, Grid(16, std::vector<std::int32_t>(16, 0)));
    EXPECT_EQ(Message(), "Started the pasted puzzle");
    EXPECT_EQ(Name(), "Pasted: many solutions");
}

TEST_F(PasteScenarioTest, ARefusedCodeChangesNothingAndSaysWhy) {
    const LogicPuzzle medium = MediumPuzzle();
    const std::string code = FormatPuzzleCode(medium.givens);
    const std::string clash = "11" + code.substr(2);
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    engine().clipboard = clash;
    ASSERT_TRUE(Paste(game));
    EXPECT_EQ(program().GameState, MainMenu);
    EXPECT_EQ(program().paste.menuMessage, "Cannot paste: clash: 1 at line 1, position 1 and line 1, position 2");
    EXPECT_GT(GlyphsOnLine(PasteMessageY), 40) << "the reason is drawn under the menu's items";
    EXPECT_FALSE(folder.Has("game.save"));

    SeedRandom(23);
    ASSERT_TRUE(StartNewGame(game, Easy));
    const SudokuBoard before = board();
    const std::string saved = SavedBytes();
    const std::pair<std::string, const char*> refused[] = {
        {clash, "clash: 1 at line 1"},
        {FormatPuzzleCode(DeadEndGivens(medium.givens, medium.solution)), "cannot be finished"},
        {code.substr(1), "255 cells, 256 needed"},
        {code.substr(0, 36) + "Z" + code.substr(37), "character 37 is 'Z'"},
        {std::string("\x7F" "ELF\1\0", 6), "binary data"},
        {std::string(kMaxPuzzleTextBytes + 100, '.'), "longer than 64 KB"},
        {FormatPuzzleCode(medium.solution), "every cell is filled"},
        {"", "no text could be read from the clipboard"},
    };
    for (const auto& [text, reason] : refused) {
        engine().clipboard = text;
        ASSERT_TRUE(Paste(game)) << reason;
        EXPECT_EQ(Message().rfind("Cannot paste: ", 0), 0u) << Message();
        EXPECT_NE(Message().find(reason), std::string::npos) << Message();
        EXPECT_EQ(board().givens, before.givens) << reason;
        EXPECT_EQ(board().values, before.values) << reason;
        EXPECT_EQ(program().Aids.origin, PuzzleOrigin{}) << reason;
        EXPECT_EQ(SavedBytes(), saved) << reason;
    }
}
