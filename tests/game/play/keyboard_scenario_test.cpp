// Stories of the play aids, played through the real frame loop on the recording
// engine: a game won from the keyboard alone, typed values on givens and clashes,
// undo and redo, the history's life across menus and games, the same-value tint,
// the clash marks, the mistake marks, restart and leaving for a new game, and the help overlay.
#include <algorithm>
#include <chrono>
#include <thread>

#include "game/scenario_support.h"
#include "play/view/cell_marks.h"
#include "play/view/help_overlay.h"
#include "play/view/status_line.h"
#include "play/view/value_picker.h"
#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "support/boards.h"

namespace {

constexpr int ContinueId = 2, GameCreditsId = 3;
constexpr std::uint32_t Red = 0xFFEE0000;



class KeyboardScenarioTest : public ScenarioTest {
protected:
    PlayAids& aids() { return program().aids; }
    SudokuBoard& board() { return program().board; }
    const Cell& CellAt(int row, int column) { return program().view.cells[row][column]; }
    int value(int row, int column) { return board().values[row][column]; }

    bool Press(GameRunner& game, int key, bool control = false, bool shift = false) {
        return game.Frame(KeyOnlyFrame(key, control, shift));
    }
    // Shows the keyboard cell (first arrow) and walks it to the cell with the arrows.
    bool WalkTo(GameRunner& game, int row, int column) {
        if (!aids().keyboard.Shown() && !Press(game, GKK_LEFT)) return false;
        for (int guard = 0; guard < 40; ++guard) {
            const CellRef at = aids().keyboard.Position();
            if (at.row == row && at.column == column) return true;
            const int key = at.row < row      ? GKK_RIGHT
                            : at.row > row    ? GKK_LEFT
                            : at.column < column ? GKK_DOWN
                                                 : GKK_UP;
            if (!Press(game, key)) return false;
        }
        return false;
    }
    bool Type(GameRunner& game, int row, int column, int v) {
        return WalkTo(game, row, column) && Press(game, ValueKey(v));
    }
    // Opens the ring on the cell and picks v with the mouse.
    bool Pick(GameRunner& game, int row, int column, int v) {
        if (!game.Click(CellAt(row, column).x + 15, CellAt(row, column).y + 15)) return false;
        float dx = 0, dy = 0;
        PickerItemOffset(v, &dx, &dy);
        const ValuePicker& picker = *program().picker;
        return picker.open && game.Click(picker.x + dx + 15, picker.y + dy + 15);
    }
    std::vector<CellRef> FreeCells() {
        std::vector<CellRef> cells;
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 16; ++i)
                if (!board().IsGiven(i, j)) cells.push_back({i, j});
        return cells;
    }
    CellRef AGiven() {
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j)
                if (board().IsGiven(i, j)) return {i, j};
        return {};
    }
    // Untextured quads of the last frame in a colour.
    std::vector<Quad> QuadsInColour(std::uint32_t colour) {
        std::vector<Quad> found;
        for (const Quad& q : QuadsWithTexture(0))
            if (q.v[0].col == colour) found.push_back(q);
        return found;
    }
    static bool Covers(const Quad& q, const Cell& cell) {
        return q.v[0].x >= cell.x && q.v[2].x <= cell.x + cell.width && q.v[0].y >= cell.y &&
               q.v[2].y <= cell.y + cell.height;
    }
    // The cells of the board that one of the quads lies in.
    std::vector<std::pair<int, int>> CellsMarked(const std::vector<Quad>& quads) {
        std::vector<std::pair<int, int>> cells;
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j)
                if (std::any_of(quads.begin(), quads.end(), [&](const Quad& q) { return Covers(q, CellAt(i, j)); }))
                    cells.emplace_back(i, j);
        return cells;
    }
    std::string SettingsFile() {
        WaitForSavedFiles();
        return ReadFile(folder.file(SettingsFileName));
    }
};

}  // namespace

TEST_F(KeyboardScenarioTest, AHardGameWonFromTheKeyboardAlone) {
    const Grid solution = SolutionForSeed(99);
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Hard, 99));
    ASSERT_EQ(CountGivens(), 70);

    ASSERT_TRUE(Press(game, GKK_DOWN));
    const CellRef first = FreeCells().front();
    EXPECT_TRUE(aids().keyboard.Shown());
    EXPECT_EQ(aids().keyboard.Position().row, first.row) << "it starts on the first free cell";
    EXPECT_EQ(aids().keyboard.Position().column, first.column);

    const auto cells = FreeCells();
    for (const CellRef& cell : cells) {
        ASSERT_TRUE(Type(game, cell.row, cell.column, solution[cell.row][cell.column]));
        ASSERT_EQ(value(cell.row, cell.column), solution[cell.row][cell.column]);
    }
    EXPECT_TRUE(board().IsComplete());
    EXPECT_TRUE(game.messages.empty());
    EXPECT_EQ(aids().history.UndoSteps(), cells.size());
    game.Frame(KeyOnlyFrame(0));
    ASSERT_EQ(game.messages.size(), 1u) << "the next frame announces the win";
    EXPECT_EQ(game.messages[0].text, "You have won!");
    EXPECT_EQ(program().GameState, MainMenu);
}

TEST_F(KeyboardScenarioTest, TypingOnAGivenChangesNothing) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Medium));
    const Grid before = board().values;
    const CellRef given = AGiven();
    ASSERT_TRUE(WalkTo(game, given.row, given.column));
    for (int key : {ValueKey(1), ValueKey(16), int{GKK_0}, int{GKK_BACKSPACE}, int{GKK_DELETE}}) Press(game, key);
    EXPECT_EQ(board().values, before);
    EXPECT_EQ(aids().history.UndoSteps(), 0u);
}

TEST_F(KeyboardScenarioTest, AClashTypedShowsRedAndBackspaceClearsIt) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Hard));
    // A free cell and the value of a given in its row.
    CellRef cell;
    int clash = 0;
    for (const CellRef& c : FreeCells()) {
        for (int j = 0; j < 16 && clash == 0; ++j)
            if (board().IsGiven(c.row, j)) clash = board().values[c.row][j];
        if (clash != 0) {
            cell = c;
            break;
        }
    }
    ASSERT_NE(clash, 0);
    ASSERT_TRUE(Type(game, cell.row, cell.column, clash));
    EXPECT_EQ(value(cell.row, cell.column), clash) << "a clashing value is written all the same";
    game.Frame(KeyOnlyFrame(0));
    const auto glyphs = GlyphsInCell(cell.row, cell.column);
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0].v[0].col, Red);

    Press(game, GKK_BACKSPACE);
    EXPECT_EQ(value(cell.row, cell.column), 0);
    EXPECT_TRUE(GlyphsInCell(cell.row, cell.column).empty());
    // Delete and 0 empty as well.
    for (int key : {int{GKK_DELETE}, int{GKK_0}}) {
        Press(game, ValueKey(7));
        ASSERT_EQ(value(cell.row, cell.column), 7);
        Press(game, key);
        EXPECT_EQ(value(cell.row, cell.column), 0);
    }
}

TEST_F(KeyboardScenarioTest, TenMovesUndoneAndRedoneGiveBackTheSameBoardAtEveryStep) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    const auto cells = FreeCells();
    std::vector<Grid> boards{board().values};
    std::vector<CellRef> changed;
    // Ten changes: picks from the ring and typed values, an overwrite and an emptying among them.
    for (int k = 0; k < 10; ++k) {
        const CellRef cell = k == 7 ? cells[2] : k == 9 ? cells[4] : cells[k];
        const int v = k == 9 ? 0 : k + 3;
        ASSERT_TRUE(k % 2 == 0 ? Pick(game, cell.row, cell.column, v) : Type(game, cell.row, cell.column, v));
        ASSERT_EQ(value(cell.row, cell.column), v);
        boards.push_back(board().values);
        changed.push_back(cell);
    }
    ASSERT_TRUE(Pick(game, cells[0].row, cells[0].column, 3));
    EXPECT_EQ(aids().history.UndoSteps(), 10u) << "a pick that changes nothing is not a step";

    for (int k = 9; k >= 0; --k) {
        if (k % 2 == 0) {
            Press(game, LetterKey('Z'), true);
        } else {
            Press(game, LetterKey('U'));
        }
        EXPECT_EQ(board().values, boards[k]) << "after undoing down to step " << k;
        EXPECT_TRUE(aids().keyboard.Shown());
        EXPECT_EQ(aids().keyboard.Position().row, changed[k].row) << "the keyboard cell goes to the undone cell";
        EXPECT_EQ(aids().keyboard.Position().column, changed[k].column);
    }
    Press(game, LetterKey('U'));
    EXPECT_EQ(board().values, boards[0]) << "nothing left to undo";

    const int redoKeys[3][3] = {{LetterKey('R'), 0, 0}, {LetterKey('Y'), 1, 0}, {LetterKey('Z'), 1, 1}};
    for (int k = 1; k <= 10; ++k) {
        const auto& key = redoKeys[k % 3];
        Press(game, key[0], key[1] != 0, key[2] != 0);
        EXPECT_EQ(board().values, boards[k]) << "after redoing up to step " << k;
    }
    Press(game, LetterKey('R'));
    EXPECT_EQ(board().values, boards[10]) << "nothing left to redo";
}

TEST_F(KeyboardScenarioTest, AChangeAfterUndoDropsTheRedoSteps) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    const auto cells = FreeCells();
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(Type(game, cells[k].row, cells[k].column, k + 1));
    Press(game, LetterKey('U'));
    Press(game, LetterKey('U'));
    ASSERT_EQ(value(cells[1].row, cells[1].column), 0);
    ASSERT_TRUE(Type(game, cells[5].row, cells[5].column, 9));
    const Grid afterChange = board().values;
    Press(game, LetterKey('R'));
    EXPECT_EQ(board().values, afterChange) << "the undone steps cannot come back";
    Press(game, LetterKey('U'));
    Press(game, LetterKey('U'));
    EXPECT_EQ(value(cells[5].row, cells[5].column), 0);
    EXPECT_EQ(value(cells[0].row, cells[0].column), 0);
}

TEST_F(KeyboardScenarioTest, TheHistorySurvivesTheInGameMenuIsEmptyAfterNewGameAndComesBackAfterRestart) {
    const Grid solution = SolutionForSeed(31);
    {
        GameRunner game(folder.path());
        ASSERT_TRUE(StartSeededGame(game, Easy, 31));
        const auto cells = FreeCells();
        ASSERT_TRUE(Type(game, cells[0].row, cells[0].column, 5));
        ASSERT_TRUE(Type(game, cells[1].row, cells[1].column, 6));
        Press(game, GKK_ESCAPE);
        ASSERT_TRUE(Choose(game, GameCreditsId));
        ASSERT_EQ(program().GameState, Credits);
        Press(game, GKK_ESCAPE);
        Press(game, GKK_ESCAPE);
        ASSERT_EQ(program().GameState, Playing);
        Press(game, LetterKey('U'));
        EXPECT_EQ(value(cells[1].row, cells[1].column), 0) << "the history came through menu and credits";
        EXPECT_EQ(value(cells[0].row, cells[0].column), 5);

        // Win (all but one cell filled directly), then a new game starts with no history.
        for (const CellRef& c : cells) board().SetValue(c.row, c.column, solution[c.row][c.column]);
        board().SetValue(cells[0].row, cells[0].column, 0);
        ASSERT_TRUE(Type(game, cells[0].row, cells[0].column, solution[cells[0].row][cells[0].column]));
        game.Frame(KeyOnlyFrame(0));
        ASSERT_EQ(program().GameState, MainMenu);
        EXPECT_GT(aids().history.UndoSteps(), 0u);
        ASSERT_TRUE(StartNewGame(game, Easy));
        EXPECT_EQ(aids().history.UndoSteps(), 0u);
        EXPECT_EQ(aids().history.RedoSteps(), 0u);

        const auto fresh = FreeCells();
        ASSERT_TRUE(Type(game, fresh[0].row, fresh[0].column, 2));
        EXPECT_EQ(aids().history.UndoSteps(), 1u);
        Press(game, GKK_ESCAPE);
        ASSERT_TRUE(Choose(game, 4));  // Exit: the game is saved
    }
    GameRunner game(folder.path());
    ASSERT_TRUE(Choose(game, ContinueId));
    ASSERT_EQ(program().GameState, Playing);
    const Grid before = board().values;
    Press(game, LetterKey('U'));
    EXPECT_NE(board().values, before) << "a continued game brings its history back";
}

TEST_F(KeyboardScenarioTest, TheSameValueTintComesWithVFollowsTheHoveredValueAndTheSettingSurvivesARestart) {
    const CellRef given = [&] {
        GameRunner game(folder.path());
        EXPECT_TRUE(StartNewGame(game, Medium));
        const CellRef cell = AGiven();
        const int v = value(cell.row, cell.column);
        InputFrame hover;
        hover.mouseX = CellAt(cell.row, cell.column).x + 15;
        hover.mouseY = CellAt(cell.row, cell.column).y + 15;
        game.Frame(hover);
        EXPECT_TRUE(QuadsInColour(ClassicPalette().sameValueTint).empty())
            << "mouse play shows no tint until V";
        hover.key = LetterKey('V');
        game.Frame(hover);
        hover.key = 0;

        std::vector<std::pair<int, int>> holding;
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j)
                if (value(i, j) == v && !(i == cell.row && j == cell.column)) holding.emplace_back(i, j);
        EXPECT_FALSE(holding.empty());
        EXPECT_EQ(CellsMarked(QuadsInColour(ClassicPalette().sameValueTint)), holding);

        // Under the value: after the cell's face, before its glyph.
        const auto& quads = engine.quads;
        const Cell& tinted = CellAt(holding[0].first, holding[0].second);
        auto index = [&](auto match) { return std::find_if(quads.begin(), quads.end(), match) - quads.begin(); };
        const auto face = index([&](const Quad& q) { return q.tex != 0 && q.v[0].x == tinted.x && q.v[0].y == tinted.y; });
        const auto tint = index([&](const Quad& q) {
            return q.tex == 0 && q.v[0].col == ClassicPalette().sameValueTint && Covers(q, tinted);
        });
        const auto glyph = index([&](const Quad& q) {
            return q.tex == program().MenuFont->Texture() && q.v[0].x > tinted.x && q.v[0].x < tinted.x + 30 &&
                   q.v[0].y > tinted.y && q.v[0].y < tinted.y + 30;
        });
        EXPECT_LT(face, tint);
        EXPECT_LT(tint, glyph);

        // An arrow shows the keyboard cell on the cell under the pointer; the tint follows it;
        // moving the mouse hides it and the tint follows the pointer again.
        hover.key = GKK_RIGHT;
        game.Frame(hover);
        EXPECT_TRUE(aids().keyboard.Shown());
        EXPECT_EQ(aids().keyboard.Position().row, cell.row);
        EXPECT_EQ(aids().keyboard.Position().column, cell.column);
        const int next = cell.row < 15 ? cell.row + 1 : cell.row - 1;
        hover.key = next > cell.row ? GKK_RIGHT : GKK_LEFT;
        game.Frame(hover);
        EXPECT_EQ(aids().keyboard.Position().row, next);
        if (value(next, cell.column) != 0 && value(next, cell.column) != v) {
            EXPECT_NE(CellsMarked(QuadsInColour(ClassicPalette().sameValueTint)), holding)
                << "the tint follows the keyboard cell";
        }
        hover.key = 0;
        hover.mouseX += 1;
        game.Frame(hover);
        EXPECT_FALSE(aids().keyboard.Shown());
        EXPECT_EQ(CellsMarked(QuadsInColour(ClassicPalette().sameValueTint)), holding);

        hover.key = LetterKey('V');
        game.Frame(hover);
        EXPECT_TRUE(QuadsInColour(ClassicPalette().sameValueTint).empty()) << "V switches the tint off";
        EXPECT_NE(SettingsFile().find("same-value-highlight=off"), std::string::npos);
        hover.key = GKK_ESCAPE;
        game.Frame(hover);
        EXPECT_TRUE(Choose(game, 4));
        return cell;
    }();

    GameRunner game(folder.path());
    ASSERT_TRUE(Choose(game, ContinueId));
    InputFrame hover;
    hover.mouseX = CellAt(given.row, given.column).x + 15;
    hover.mouseY = CellAt(given.row, given.column).y + 15;
    game.Frame(hover);
    EXPECT_FALSE(aids().settings.sameValueHighlight) << "the choice is kept for the next start";
    EXPECT_TRUE(QuadsInColour(ClassicPalette().sameValueTint).empty());
    hover.key = LetterKey('V');
    game.Frame(hover);
    EXPECT_FALSE(QuadsInColour(ClassicPalette().sameValueTint).empty());
}

// Every switch key of the play screen says on the line under the status line what it did.
TEST_F(KeyboardScenarioTest, EverySwitchKeySaysWhatItDid) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    const std::pair<int, const char*> switches[] = {{LetterKey('V'), "Same-value tint"},
                                                    {LetterKey('X'), "Clash marks"},
                                                    {LetterKey('K'), "Mistake marks"},
                                                    {LetterKey('N'), "Note mode"},
                                                    {GKK_F11, "Full screen"}};
    for (const auto& [key, name] : switches)
        for (const char* state : {" on", " off"}) {
            ASSERT_TRUE(Press(game, key));
            EXPECT_STREQ(StatusMessageText(board(), aids()), (name + std::string(state)).c_str());
        }
}

TEST_F(KeyboardScenarioTest, CtrlRTakesEveryValueAndNoteBackAsOneStepAndCtrlNOnceOnlyAsks) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Medium, 8));
    const Grid givens = board().values;
    ASSERT_TRUE(Press(game, LetterKey('R'), true));
    EXPECT_STREQ(StatusMessageText(board(), aids()), "The grid holds only its givens");
    ASSERT_TRUE(Press(game, LetterKey('N'), true));
    EXPECT_EQ(program().GameState, DifficultyMenu) << "nothing written: no question";
    ASSERT_TRUE(game.Key(GKK_ESCAPE) && SettleMenu(game) && Choose(game, ContinueId));

    const std::vector<CellRef> free = FreeCells();
    const Grid solution = SolutionForSeed(8);
    for (int k = 0; k < 2; ++k)
        ASSERT_TRUE(Type(game, free[k].row, free[k].column, solution[free[k].row][free[k].column]));
    ASSERT_TRUE(Press(game, LetterKey('N')) && Type(game, free[2].row, free[2].column, 5) &&
                Press(game, LetterKey('N')));
    const Grid played = board().values;
    const NotesGrid notes = aids().notes;
    const std::size_t steps = aids().history.UndoSteps();

    const std::pair<int, const char*> questions[] = {
        {LetterKey('R'), "Press Ctrl+R again to take back every value and note"},
        {LetterKey('N'), "Press Ctrl+N again to leave this game"}};
    for (const auto& [key, question] : questions) {
        ASSERT_TRUE(Press(game, key, true));
        EXPECT_STREQ(StatusMessageText(board(), aids()), question);
        InputFrame later;
        later.dt = ConfirmSeconds;
        ASSERT_TRUE(game.Frame(later));
        EXPECT_EQ(StatusMessageText(board(), aids()), nullptr) << "the question goes after a few seconds";
        ASSERT_TRUE(Press(game, key, true));
        ASSERT_TRUE(Press(game, LetterKey('V')) && Press(game, LetterKey('V')));
        ASSERT_TRUE(Press(game, key, true));
        EXPECT_STREQ(StatusMessageText(board(), aids()), question) << "another key answered no";
        EXPECT_EQ(board().values, played);
        EXPECT_EQ(program().GameState, Playing);
        ASSERT_TRUE(Press(game, GKK_LEFT));
    }

    ASSERT_TRUE(Press(game, LetterKey('R'), true) && Press(game, LetterKey('R'), true));
    EXPECT_EQ(board().values, givens);
    EXPECT_EQ(aids().notes, NotesGrid{});
    EXPECT_EQ(aids().history.UndoSteps(), steps + 1) << "one undo step";
    ASSERT_TRUE(Press(game, LetterKey('Z'), true));
    EXPECT_EQ(board().values, played);
    EXPECT_EQ(aids().notes, notes);

    ASSERT_TRUE(Press(game, LetterKey('N'), true) && Press(game, LetterKey('N'), true));
    EXPECT_EQ(program().GameState, DifficultyMenu);
    ASSERT_TRUE(game.Key(GKK_ESCAPE) && SettleMenu(game));
    EXPECT_TRUE(IsEnabled(ContinueId)) << "the game left stays to be continued";
}

TEST_F(KeyboardScenarioTest, KMarksAClassicPuzzlesProvenWrongValueAndNoRightOne) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Easy, 12));
    ASSERT_TRUE(Press(game, LetterKey('K')));
    // A value its peers allow in a free cell that no completion of the givens has.
    const Grid givens = board().values;
    CellRef wrong{-1, -1};
    int wrongValue = 0;
    for (const CellRef& c : FreeCells())
        for (int v = 1; v <= 16 && wrong.row < 0; ++v) {
            if (!board().IsAllowed(c.row, c.column, v)) continue;
            Grid tried = givens;
            tried[c.row][c.column] = v;
            if (CheckCompletion(tried, 4).verdict == Completion::DeadEnd) wrong = c, wrongValue = v;
        }
    ASSERT_GE(wrong.row, 0);
    const CellRef right = FreeCells()[0].row == wrong.row && FreeCells()[0].column == wrong.column
                              ? FreeCells()[1]
                              : FreeCells()[0];
    ASSERT_TRUE(Type(game, right.row, right.column, SolutionForSeed(12)[right.row][right.column]));
    ASSERT_TRUE(Type(game, wrong.row, wrong.column, wrongValue));
    for (int i = 0; i < 20000 && !aids().mistakes.Marks(board(), wrong.row, wrong.column); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(game.Frame());
    }
    ASSERT_TRUE(game.Frame());
    EXPECT_EQ(CellsMarked(QuadsInColour(program().palette.mistakeMark)),
              (std::vector<std::pair<int, int>>{{wrong.row, wrong.column}}))
        << "the bar is under the wrong value alone";
    EXPECT_NE(SettingsFile().find("mistake-marks=on\n"), std::string::npos);
}

TEST_F(KeyboardScenarioTest, XMarksEveryClashingCell) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    // Three free cells given the same value: a clash in a row and one in a column at least.
    const auto cells = FreeCells();
    ASSERT_TRUE(Type(game, cells[0].row, cells[0].column, 16));
    ASSERT_TRUE(Type(game, cells[1].row, cells[1].column, 16));
    ASSERT_TRUE(Type(game, cells[2].row, cells[2].column, 16));
    Press(game, GKK_UP);
    EXPECT_TRUE(CellsMarked(QuadsInColour(ClassicPalette().clashMark)).empty()) << "off by default";

    Press(game, LetterKey('X'));
    std::vector<std::pair<int, int>> red;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if (!board().IsGiven(i, j) && value(i, j) != 0 && !board().IsAllowed(i, j, value(i, j)))
                red.emplace_back(i, j);
    ASSERT_GE(red.size(), 2u);
    EXPECT_EQ(CellsMarked(QuadsInColour(ClassicPalette().clashMark)), red);
    EXPECT_NE(SettingsFile().find("clash-marks=on"), std::string::npos);

    Press(game, LetterKey('X'));
    EXPECT_TRUE(CellsMarked(QuadsInColour(ClassicPalette().clashMark)).empty());
}

TEST_F(KeyboardScenarioTest, TheHelpOpensWithF1OrQuestionMarkAndTheClosingInputDoesNothingElse) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    const CellRef cell = FreeCells().front();
    ASSERT_TRUE(WalkTo(game, cell.row, cell.column));

    Press(game, GKK_F1);
    EXPECT_TRUE(aids().helpOpen);
    EXPECT_EQ(QuadsInColour(ClassicPalette().helpPanel).size(), 1u) << "the overlay is drawn";
    // Its text lies inside the panel, the key column clear of the action column.
    const auto& quads = engine.quads;
    auto glyph = std::find_if(quads.begin(), quads.end(),
                              [](const Quad& q) { return q.v[0].col == ClassicPalette().helpPanel; });
    int glyphs = 0;
    for (; glyph != quads.end(); ++glyph) {
        if (glyph->tex != program().MenuFont->Texture() || glyph->v[0].y < HelpPanelTop) continue;
        ++glyphs;
        EXPECT_GE(glyph->v[0].x, HelpPanelLeft);
        EXPECT_LE(glyph->v[2].x, HelpPanelRight - 5);
        EXPECT_LE(glyph->v[2].y, HelpPanelBottom);
        if (glyph->v[0].y >= HelpLinesY && glyph->v[0].y < HelpLinesY + HelpLinePitch * HelpLineCount && glyph->v[0].x < HelpActionsX - 3) {
            EXPECT_LE(glyph->v[2].x, HelpActionsX - 5);
        }
    }
    EXPECT_GT(glyphs, 400);
    const Grid before = board().values;
    Press(game, ValueKey(4));
    EXPECT_FALSE(aids().helpOpen);
    EXPECT_EQ(board().values, before) << "the closing key writes nothing";
    EXPECT_TRUE(QuadsInColour(ClassicPalette().helpPanel).empty());

    InputFrame question = KeyOnlyFrame(0);
    question.character = '?';
    game.Frame(question);
    ASSERT_TRUE(aids().helpOpen);
    Press(game, GKK_ESCAPE);
    EXPECT_FALSE(aids().helpOpen);
    EXPECT_EQ(program().GameState, Playing) << "the closing Escape opens no menu";

    Press(game, GKK_F1);
    ASSERT_TRUE(game.Click(CellAt(cell.row, cell.column).x + 15, CellAt(cell.row, cell.column).y + 15));
    EXPECT_FALSE(aids().helpOpen);
    EXPECT_FALSE(program().picker->open) << "the closing click opens no ring";
}

// Keys pressed faster than frames: each press of a frame counts, in order, with the
// modifiers it was pressed with; a key that closes the help does nothing else, and
// those before the Escape that is the frame's (last) key count before the menu opens.
TEST_F(KeyboardScenarioTest, EveryKeyOfAFrameCountsInOrderWithItsOwnModifiers) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    InputFrame burst = KeyOnlyFrame(GKK_ESCAPE);
    burst.presses = {
        {GKK_RIGHT},   {GKK_F1},    {LetterKey('X')}, {ValueKey(1)}, {LetterKey('Z'), 0, false, true},
        {ValueKey(2)}, {GKK_ESCAPE}};
    ASSERT_TRUE(game.Frame(burst));
    const CellRef cell = aids().keyboard.Position();
    EXPECT_EQ(value(cell.row, cell.column), 2);
    EXPECT_EQ(aids().history.UndoSteps(), 1u);
    EXPECT_EQ(aids().history.RedoSteps(), 0u);
    EXPECT_FALSE(aids().settings.clashMarks);
    EXPECT_FALSE(aids().helpOpen);
    EXPECT_EQ(program().GameState, GameMenu);
}

TEST_F(KeyboardScenarioTest, AltEnterAndF11SwitchFullScreenAndTheChoiceIsKeptForTheNextStart) {
    auto windowedStates = [this] {
        std::vector<std::string> values;
        for (const auto& [state, text] : engine.states)
            if (state == GK_WINDOWED) values.push_back(text);
        return values;
    };
    {
        GameRunner game(folder.path());
        ASSERT_TRUE(StartNewGame(game, Easy));
        InputFrame altEnter = KeyOnlyFrame(GKK_ENTER);
        altEnter.alt = true;
        game.Frame(altEnter);
        EXPECT_EQ(windowedStates(), (std::vector<std::string>{"true", "false"}));
        EXPECT_NE(SettingsFile().find("full-screen=on"), std::string::npos);
        Press(game, GKK_ESCAPE);
        ASSERT_TRUE(Choose(game, 4));
    }
    engine.states.clear();
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    EXPECT_EQ(windowedStates(), (std::vector<std::string>{"true", "false"})) << "full screen again at start";
    Press(game, GKK_F11);
    EXPECT_EQ(windowedStates().back(), "true") << "F11 works in the menus too";
    InputFrame altEnter = KeyOnlyFrame(GKK_ENTER);
    altEnter.alt = true;
    game.Frame(altEnter);
    EXPECT_EQ(windowedStates().back(), "false") << "Alt+Enter as well";
    Press(game, GKK_F11);
    ASSERT_TRUE(game.Frames(60));
    EXPECT_EQ(program().GameState, MainMenu) << "the Enter of Alt+Enter chose nothing";
    EXPECT_NE(SettingsFile().find("full-screen=off"), std::string::npos);
}
