// Stories of the dead-end warning and the hint, played through the real frame loop
// on the recording engine: a value that leaves no way to finish the grid brings the
// warning under the board within a few frames; H on that dead end takes out the one
// wrong value, as an undo step, and names it; on a grid that can be finished H teaches
// a step in three presses (a single's second shows the cells that rule the other
// values out), and pressing H alone wins the game, classic or logic.
#include <chrono>
#include <cmath>
#include <set>
#include <thread>

#include "app/puzzles/logic_games.h"
#include "game/scenario_support.h"
#include "play/hint/hint.h"
#include "play/hint/hint_text.h"
#include "play/view/status_line.h"
#include "save/save.h"
#include "sudoku/completion.h"
#include "sudoku/generator.h"

namespace {

const int HintKey = LetterKey('H');

class HintScenarioTest : public ScenarioTest {
protected:
    PlayAids& aids() { return program().aids; }
    SudokuBoard& board() { return program().board; }

    // Types v into the cell under the pointer (the pointer's move hides the keyboard cell).
    bool TypeAt(GameRunner& game, CellRef c, int v) {
        const Cell& cell = program().view.cells[c.row][c.column];
        return game.Key(ValueKey(v), cell.x + 15, cell.y + 15);
    }
    bool PressKey(GameRunner& game, int key, bool control = false) { return game.Frame(KeyOnlyFrame(key, control)); }
    const char* Message() { return StatusMessageText(board(), aids()); }
    // Presses H (at the pointer when given) and runs frames, a millisecond apart, until the
    // hint has acted on the watch's verdicts.
    bool Hint(GameRunner& game, const Cell* at = nullptr) {
        if (!(at ? game.Key(HintKey, at->x + 15, at->y + 15) : PressKey(game, HintKey))) return false;
        for (int i = 0; i < 20000 && aids().hint.active; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!game.Frame()) return false;
        }
        return !aids().hint.active;
    }
    // Frames, a millisecond apart, until the watch's worker has answered on the board
    // as it stands (the answer comes from another thread: no fixed frame count).
    bool FramesUntilVerdict(GameRunner& game) {
        for (int i = 0; i < 5000; ++i) {
            if (!game.Frame()) return false;
            if (aids().deadEnd.ResultFor(board())) return game.Frame();  // drawn once more
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // The message names a technique at its start.
    bool NamesATechnique(const char* message) {
        for (int t = 0; t < kTechniqueCount && message; ++t) {
            const std::string title = TechniqueTitle(static_cast<Technique>(t));
            if (std::string(message).compare(0, title.size(), title) == 0) return true;
        }
        return false;
    }
    int MessageGlyphs() {
        int glyphs = 0;
        for (const Quad& q : GlyphQuads()) glyphs += std::fabs(q.v[0].y - StatusMessageY) < 1;
        return glyphs;
    }
    std::vector<CellRef> EmptyCells() {
        std::vector<CellRef> cells;
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j)
                if (board().values[i][j] == 0) cells.push_back({i, j});
        return cells;
    }
    // An empty cell and a value its peers allow whose writing leaves no completion.
    bool FindDeadEndMove(CellRef* cell, int* value) {
        for (const CellRef& c : EmptyCells())
            for (int v = 1; v <= 16; ++v) {
                if (!board().IsAllowed(c.row, c.column, v)) continue;
                Grid tried = board().values;
                tried[c.row][c.column] = v;
                if (CheckCompletion(tried, 4).verdict == Completion::DeadEnd) {
                    *cell = c;
                    *value = v;
                    return true;
                }
            }
        return false;
    }
    // A clash-free value for an empty cell other than skip; false when none is left.
    bool FindFreeMove(CellRef skip, CellRef* cell, int* value) {
        for (const CellRef& c : EmptyCells()) {
            if (c.row == skip.row && c.column == skip.column) continue;
            for (int v = 1; v <= 16; ++v)
                if (board().IsAllowed(c.row, c.column, v)) {
                    *cell = c;
                    *value = v;
                    return true;
                }
        }
        return false;
    }
};

}  // namespace

TEST_F(HintScenarioTest, ADeadEndIsWarnedAndHTakesOutOnlyTheWrongValueWhichUndoReturns) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Hard, 7));
    // Most of the grid filled from a completion: still completable, no warning.
    const CompletionResult start = CheckCompletion(board().values, 4);
    ASSERT_EQ(start.verdict, Completion::Completable);
    const auto empty = EmptyCells();
    for (std::size_t k = 0; k + 40 < empty.size(); ++k)
        ASSERT_TRUE(TypeAt(game, empty[k], start.completion[empty[k].row][empty[k].column]));
    ASSERT_TRUE(FramesUntilVerdict(game));
    EXPECT_EQ(aids().deadEnd.Verdict(), Completion::Completable);
    EXPECT_EQ(Message(), nullptr);
    EXPECT_EQ(MessageGlyphs(), 0);

    CellRef wrong;
    int wrongValue = 0;
    ASSERT_TRUE(FindDeadEndMove(&wrong, &wrongValue));
    ASSERT_TRUE(TypeAt(game, wrong, wrongValue));
    ASSERT_TRUE(FramesUntilVerdict(game)) << "the warning comes within a few frames";
    EXPECT_STREQ(Message(), DeadEndText);
    EXPECT_GT(MessageGlyphs(), 20) << "the warning is drawn on the line under the status line";

    // Two right values after the wrong one: H takes out the wrong one alone, naming it.
    std::vector<CellRef> right;
    for (const CellRef& c : EmptyCells())
        if (right.size() < 2 && !(c.row == wrong.row && c.column == wrong.column)) right.push_back(c);
    ASSERT_EQ(right.size(), 2u);
    for (const CellRef& c : right) ASSERT_TRUE(TypeAt(game, c, start.completion[c.row][c.column]));
    const Grid deadEnd = board().values;
    const std::size_t steps = aids().history.UndoSteps();
    ASSERT_TRUE(Hint(game));
    EXPECT_EQ(aids().history.UndoSteps(), steps + 1) << "one undo step";
    EXPECT_EQ(board().values[wrong.row][wrong.column], 0);
    for (const CellRef& c : right)
        EXPECT_EQ(board().values[c.row][c.column], start.completion[c.row][c.column]);
    EXPECT_EQ(CheckCompletion(board().values, 4).verdict, Completion::Completable);
    game.Frames(3);
    const std::string named = "Took out " + ValuesText(1u << (wrongValue - 1)) + " at " +
                              ScreenCellName(wrong.row * 16 + wrong.column, 16) +
                              ": with it the grid could not be finished";
    EXPECT_STREQ(Message(), named.c_str());
    EXPECT_GT(MessageGlyphs(), 20);

    ASSERT_TRUE(PressKey(game, LetterKey('Z'), true));
    EXPECT_EQ(board().values, deadEnd) << "undo brings the value back";
    ASSERT_TRUE(FramesUntilVerdict(game));
    EXPECT_STREQ(Message(), DeadEndText) << "the hint's message went with the next change";
}

TEST_F(HintScenarioTest, HInThreePressesWinsAClassicGame) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Medium, 11));
    const auto empty = EmptyCells();
    ASSERT_FALSE(empty.empty());

    // Each hint takes three presses: the step named, its cells shown, then done: a value
    // written as one undo step, or eliminations shown (there are no notes to take them from).
    std::size_t hints = 0;
    bool saveChecked = false;
    while (!board().IsComplete() && hints < 4 * empty.size()) {
        const std::size_t steps = aids().history.UndoSteps();
        for (int press = 0; press < 3; ++press) ASSERT_TRUE(Hint(game));
        ++hints;
        ASSERT_LE(aids().history.UndoSteps(), steps + 1);
        if (saveChecked || aids().history.UndoSteps() == steps) continue;
        WaitForSavedFiles();
        EXPECT_EQ(ReadFile(folder.file("game.save")), SavedGameText(board())) << "saved like a typed value";
        saveChecked = true;
    }
    EXPECT_EQ(aids().history.UndoSteps(), empty.size()) << "one undo step per value written";
    EXPECT_EQ(aids().hintsUsed, hints);
    ASSERT_TRUE(game.Frame());
    ASSERT_EQ(game.messages.size(), 1u);
    EXPECT_EQ(game.messages[0].text, "You have won!");
    EXPECT_EQ(program().GameState, MainMenu);
    EXPECT_FALSE(program().bestTimes.Of(Medium)) << "a game won with hints sets no best time";
}

TEST_F(HintScenarioTest, HInThreePressesWinsAnEasyLogicGameNamingEachTechnique) {
    WriteTextFile(folder.file("game.settings"), "puzzles=logic\n");
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Easy, 5));
    ASSERT_EQ(aids().origin.kind, PuzzleKind::Logic);
    const std::size_t empty = EmptyCells().size();

    // Singles only: every hint names its technique, marks, then writes one value.
    std::size_t hints = 0;
    while (!board().IsComplete() && hints <= empty) {
        ASSERT_TRUE(Hint(game));
        EXPECT_TRUE(NamesATechnique(Message())) << (Message() ? Message() : "no message");
        ASSERT_TRUE(Hint(game));
        const std::size_t steps = aids().history.UndoSteps();
        ASSERT_TRUE(Hint(game));
        EXPECT_EQ(aids().history.UndoSteps(), steps + 1) << "one undo step per value";
        ++hints;
    }
    EXPECT_EQ(hints, empty);
    ASSERT_TRUE(game.Frame());
    ASSERT_EQ(game.messages.size(), 1u);
    EXPECT_EQ(game.messages[0].text, "You have won!");
}

TEST_F(HintScenarioTest, ASinglesSecondPressOutlinesTheCellsThatRuleTheOtherValuesOut) {
    WriteTextFile(folder.file("game.settings"), "puzzles=logic\n");
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Easy, 5));
    std::set<Technique> seen;
    for (int hints = 0; hints < 40 && seen.size() < 2; ++hints) {
        ASSERT_TRUE(Hint(game) && Hint(game));
        const LogicStep& step = aids().lesson.reply.answer.step;
        const HintMarks& marks = aids().lesson.reply.marks;
        std::uint32_t heldValues = 0;
        for (int cell = 0; cell < 256; ++cell) {
            if (!(marks.flags[cell] & HintMarkPattern) || cell == step.placeCell) continue;
            const CellRef at = CellRef::OfIndex(cell), place = CellRef::OfIndex(step.placeCell);
            const int held = board().values[at.row][at.column];
            heldValues |= 1u << held;
            if (step.technique == Technique::NakedSingle) {
                EXPECT_TRUE(ShareUnit(at.row, at.column, place.row, place.column) && held != 0);
            } else if (step.technique == Technique::HiddenSingle) {
                EXPECT_EQ(held, step.placeValue);
            }
        }
        if (step.technique == Technique::NakedSingle) {
            EXPECT_EQ(heldValues, 0x1FFFEu & ~(1u << step.placeValue)) << "the other fifteen values";
        } else if (step.technique == Technique::HiddenSingle) {
            EXPECT_EQ(heldValues, 1u << step.placeValue);
        }
        seen.insert(step.technique);
        ASSERT_TRUE(Hint(game));
    }
    EXPECT_FALSE(seen.empty());
}

TEST(Hint, WaitsForTheWatchWithoutSearchingAndASecondPressMeanwhileDoesNothing) {
    SudokuBoard board;
    SeedRandom(5);
    ASSERT_TRUE(board.NewGame(Hard));
    PlayAids aids;
    GiveHint(aids, board);
    GiveHint(aids, board);
    EXPECT_TRUE(aids.hint.active) << "no verdict yet: the hint waits";
    EXPECT_STREQ(aids.message.Current(aids.history.Revision()), "Hint: looking...");
    EXPECT_EQ(aids.history.UndoSteps(), 0u);
    for (int i = 0; i < 20000 && aids.hint.active; ++i) {
        aids.deadEnd.Update(board);
        ContinueHint(aids, board);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(aids.lesson.stage, LessonStage::Named) << "the second press meanwhile did nothing";
    EXPECT_EQ(aids.history.UndoSteps(), 0u);
    EXPECT_EQ(aids.hintsUsed, 1u);
}
