// Stories of copy and paste, played through the real frame loop on the recording
// engine: Ctrl+C and Ctrl+Shift+C put the puzzle's and the grid's codes on the
// clipboard (and write no value C), and Ctrl+V of them starts that game anew, saved at
// once; a refused code changes nothing and says why, in the main menu and in play,
// where a good one starts the game named by its grade. A code runs along the top row as
// drawn, and a puzzle file named at start is checked on the worker as a paste is.
#include <chrono>
#include <thread>
#include <tuple>

#include "app/puzzles/copy_paste.h"
#include "game/scenario_support.h"
#include "play/view/status_line.h"
#include "save/save.h"
#include "sudoku/generator.h"
#include "sudoku/logic/logic_generator.h"
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

    // The code's first line is the top row as the view draws it, left to right.
    ASSERT_TRUE(Paste(game, "123456789ABCDEFG" + std::string(240, '.')));
    std::vector<Cell> cells;
    for (const auto& line : program().view.cells) cells.insert(cells.end(), line.begin(), line.end());
    std::sort(cells.begin(), cells.end(),
              [](auto& a, auto& b) { return std::tie(a.y, a.x) < std::tie(b.y, b.x); });
    for (int i = 0; i < 16; ++i) EXPECT_EQ(CellValue(board(), cells[i].row, cells[i].column), i + 1) << i;
    ASSERT_TRUE(game.Frame(KeyOnlyFrame(KeyC, true)));
    EXPECT_EQ(clipboard().substr(0, 17), "123456789ABCDEFG.");
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
    EXPECT_GT(std::count_if(glyphs.begin(), glyphs.end(), [](auto& q) { return q.v[0].y == MenuMessageY; }),
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
        {"", "the clipboard holds no text, or one too large for a puzzle code"},
    };
    for (const auto& [text, reason] : refused) {
        ASSERT_TRUE(Paste(game, text)) << reason;
        EXPECT_EQ(Message().find(std::string("Cannot paste: ") + reason), 0u) << Message();
        EXPECT_EQ(board().values, medium.givens) << reason;
        EXPECT_EQ(program().aids.origin, graded) << reason;
        EXPECT_EQ(Saved(), saved) << reason;
    }
}

// A file named at start opens the main menu at once, its check under way on the worker;
// one whose solutions the counter cannot settle within its budget is played "From a file".
TEST_F(PasteScenarioTest, APuzzleFileIsCheckedOnTheWorkerOnceTheWindowIsOpen) {
    const std::string slow =  // many millions of nodes before the counter settles it
        "CF7...6.D...3........4..9...1...1...A...C....64........84.7....C.C....9...B......8..2.D.35.G....."
        "......GF4....E.A.D6571.........4.1..2............9.C.A.....B5.8.G..193B.2.....AE.B...86....9.1..."
        "......E..2.9...6.......B..E....9..7..........B....8..D.G..4...";
    WriteTextFile(folder.file("slow.txt"), slow);
    GameRunner game(folder.path(), {}, folder.file("slow.txt"));
    EXPECT_EQ(program().paste.menuMessage, "Checking the puzzle...");
    const auto playing = [this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return program().GameState == Playing;
    };
    ASSERT_TRUE(game.FramesUntil(playing, 20000));
    EXPECT_EQ(program().aids.origin, (PuzzleOrigin{PuzzleKind::File, 0, 0})) << "the count gave up";
    char name[48];
    EXPECT_STREQ(PuzzleName(board(), program().aids.origin, name, sizeof name), "From a file");
    EXPECT_EQ(Message(), "Started the puzzle from slow.txt");
}
