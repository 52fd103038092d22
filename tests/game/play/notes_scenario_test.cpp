// Stories of notes, the clock, the saved game after every change and the best
// times, played through the real frame loop on the recording engine: notes by note
// mode, Shift and the middle button; M and what a written value takes out of its
// peers' notes; undo bringing notes back; notes, clock and history coming back with
// "Continue previous game", and a foreign or damaged game.state ignored; the clock
// standing still in the in-game menu; a won game's time in the best times.
#include <cmath>

#include "app/screens/best_times_line.h"
#include "game/scenario_support.h"
#include "play/view/notes_view.h"
#include "play/view/status_line.h"
#include "play/view/value_picker.h"
#include "save/game_state.h"
#include "save/save.h"
#include "save/scores.h"
#include "sudoku/generator.h"
#include "support/boards.h"
#include "support/play_record_reader.h"

namespace {

constexpr int ContinueId = 2, GameExitId = 4;


class NotesScenarioTest : public ScenarioTest {
protected:
    PlayAids& aids() { return program().aids; }
    SudokuBoard& board() { return program().board; }
    CellNotes notes(CellRef c) { return aids().notes[c.row][c.column]; }

    bool Press(GameRunner& game, int key, bool shift = false) { return game.Frame(KeyOnlyFrame(key, false, shift)); }
    // The first free cell, with the keyboard cell put on it by a typed 0 under the pointer.
    CellRef FocusFirstFreeCell(GameRunner& game) {
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j)
                if (!board().IsGiven(i, j)) {
                    const Cell& cell = program().view.cells[i][j];
                    game.Key(GKK_0, cell.x + 15, cell.y + 15);
                    return {i, j};
                }
        return {};
    }
    // Opens the ring on the cell; the centre of item v.
    bool OpenRing(GameRunner& game, CellRef c, int v, float* x, float* y) {
        const Cell& cell = program().view.cells[c.row][c.column];
        if (!game.Click(cell.x + 15, cell.y + 15) || !program().picker->open) return false;
        float dx = 0, dy = 0;
        PickerItemOffset(v, &dx, &dy);
        *x = program().picker->x + dx + 15;
        *y = program().picker->y + dy + 15;
        return true;
    }
    // game.save holds exactly what Save writes for the board on the screen.
    void ExpectSavedAsShown() {
        WaitForSavedFiles();
        EXPECT_EQ(ReadFile(folder.file("game.save")), SavedGameText(board()));
        PlayRecord record;
        std::uint64_t fingerprint = 0;
        EXPECT_TRUE(ReadDatabaseRecord(folder.file("game.db"), record, &fingerprint));
        EXPECT_EQ(fingerprint, GameFingerprint(board()));
        EXPECT_EQ(record.notes, aids().notes);
    }
    // A game with notes, two written values and some play time, left by Exit.
    void PlayAndExit(CellRef* noted, CellNotes* noteBits, std::uint64_t* seconds) {
        GameRunner game(folder.path());
        EXPECT_TRUE(StartNewGame(game, Medium));
        *noted = FocusFirstFreeCell(game);
        Press(game, ValueKey(3), true);
        Press(game, ValueKey(12), true);
        Press(game, GKK_RIGHT);
        Press(game, ValueKey(0));
        InputFrame slow;
        slow.dt = 0.2f;
        game.Frames(50, slow);  // 10 s on the play screen
        *noteBits = notes(*noted);
        *seconds = aids().PlaySeconds();
        game.Key(GKK_ESCAPE);
        EXPECT_TRUE(Choose(game, GameExitId));
        game.FramesUntil([] { return false; }, 5);
    }
};

}  // namespace

TEST_F(NotesScenarioTest, NotesToggleByNoteModeShiftAndMiddleClickAndEachChangeIsSaved) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    const CellRef c = FocusFirstFreeCell(game);

    ASSERT_TRUE(Press(game, LetterKey('N')));
    ASSERT_TRUE(aids().noteMode);
    Press(game, ValueKey(3));
    EXPECT_EQ(notes(c), NoteBit(3)) << "a typed value in note mode";
    EXPECT_EQ(board().values[c.row][c.column], 0);
    float x = 0, y = 0;
    ASSERT_TRUE(OpenRing(game, c, 5, &x, &y));
    ASSERT_TRUE(game.Click(x, y));
    EXPECT_EQ(notes(c), NoteBit(3) | NoteBit(5)) << "a left click on a ring item in note mode";
    EXPECT_TRUE(program().picker->open) << "the ring stays open";
    ExpectSavedAsShown();

    ASSERT_TRUE(Press(game, LetterKey('N')));
    ASSERT_FALSE(aids().noteMode);
    const Cell& cell = program().view.cells[c.row][c.column];
    InputFrame shifted;
    shifted.key = ValueKey(16);
    shifted.shift = true;
    shifted.mouseX = cell.x + 15;
    shifted.mouseY = cell.y + 15;
    ASSERT_TRUE(game.Frame(shifted));
    EXPECT_EQ(notes(c), NoteBit(3) | NoteBit(5) | NoteBit(16)) << "Shift with a value key";
    ASSERT_TRUE(OpenRing(game, c, 3, &x, &y));
    ASSERT_TRUE(game.Frame(GameRunner::Press(x, y, GKK_MBUTTON)));
    EXPECT_EQ(notes(c), NoteBit(5) | NoteBit(16)) << "a middle click on a ring item";
    EXPECT_TRUE(program().picker->open);
    ExpectSavedAsShown();
    EXPECT_EQ(aids().history.UndoSteps(), 4u);

    // The notes are drawn with the notes font in their slots: 5 at column 0 of row 1, G at the last.
    std::vector<Quad> drawn;
    for (const Quad& q : QuadsWithTexture(program().notesFont->Texture()))
        if (q.v[0].x >= cell.x && q.v[0].x < cell.x + 30 && q.v[0].y >= cell.y && q.v[0].y < cell.y + 30)
            drawn.push_back(q);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_LT(drawn[0].v[0].x, cell.x + 1 + NotesSlot);
    EXPECT_GE(drawn[0].v[0].y, cell.y + 1 + NotesSlot);
    EXPECT_GE(drawn[1].v[0].x, cell.x + 1 + 3 * NotesSlot);
    EXPECT_GE(drawn[1].v[0].y, cell.y + 1 + 3 * NotesSlot);
}

TEST_F(NotesScenarioTest, MFillsCandidatesAWrittenValueClearsItsPeersAndUndoBringsThemBack) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Hard));
    const CellRef c = FocusFirstFreeCell(game);
    ASSERT_TRUE(Press(game, LetterKey('M')));
    EXPECT_EQ(aids().history.UndoSteps(), 1u) << "M is one step";
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j) {
            CellNotes expected = 0;
            if (CanHoldNotes(board(), i, j))
                for (int v = 1; v <= 16; ++v) expected |= board().IsAllowed(i, j, v) ? NoteBit(v) : 0;
            ASSERT_EQ(aids().notes[i][j], expected) << i << "," << j;
        }
    const NotesGrid filled = aids().notes;

    int v = 1;
    while (!(notes(c) & NoteBit(v))) ++v;
    Press(game, ValueKey(v));
    ASSERT_EQ(board().values[c.row][c.column], v);
    EXPECT_EQ(notes(c), 0);
    int peersHolding = 0;
    for (int k = 0; k < 16; ++k) {
        peersHolding += (aids().notes[c.row][k] & NoteBit(v)) != 0;
        peersHolding += (aids().notes[k][c.column] & NoteBit(v)) != 0;
        peersHolding += (aids().notes[c.row / 4 * 4 + k / 4][c.column / 4 * 4 + k % 4] & NoteBit(v)) != 0;
    }
    EXPECT_EQ(peersHolding, 0);
    ExpectSavedAsShown();
    Press(game, ValueKey(0));
    EXPECT_EQ(notes(c), 0) << "emptying brings nothing back";

    Press(game, LetterKey('U'));
    Press(game, LetterKey('U'));
    EXPECT_EQ(aids().notes, filled) << "undo brings the notes back";
    EXPECT_EQ(aids().keyboard.Position().row, c.row) << "undoing a value goes to its cell";
    Press(game, c.row < 15 ? GKK_RIGHT : GKK_LEFT);
    const CellRef place = aids().keyboard.Position();
    Press(game, LetterKey('U'));
    EXPECT_EQ(aids().notes, NotesGrid{});
    Press(game, LetterKey('R'));
    EXPECT_EQ(aids().notes, filled);
    EXPECT_TRUE(aids().keyboard.Shown());
    EXPECT_EQ(aids().keyboard.Position().row, place.row) << "undo and redo of M keep the player's place";
    EXPECT_EQ(aids().keyboard.Position().column, place.column);
    ExpectSavedAsShown();
}

TEST_F(NotesScenarioTest, NotesClockAndHistoryComeBackWithContinueAndTheClockStopsInTheMenu) {
    CellRef noted;
    CellNotes bits = 0;
    std::uint64_t seconds = 0;
    PlayAndExit(&noted, &bits, &seconds);
    EXPECT_EQ(bits, NoteBit(3) | NoteBit(12));
    EXPECT_GE(seconds, 10u);

    GameRunner game(folder.path());
    ASSERT_TRUE(Choose(game, ContinueId));
    ASSERT_EQ(program().GameState, Playing);
    EXPECT_EQ(notes(noted), bits);
    EXPECT_EQ(aids().PlaySeconds(), seconds);
    EXPECT_EQ(aids().history.UndoSteps(), 2u) << "the empty-cell write changed nothing";

    InputFrame stalled;
    stalled.dt = 60.0f;
    const std::uint64_t before = aids().playMicroseconds;
    const auto counted = static_cast<std::uint64_t>(MaxCountedFrameSeconds * 1e6);
    ASSERT_TRUE(game.Frame(stalled));
    EXPECT_EQ(aids().playMicroseconds - before, counted) << "a stalled frame counts little";
    InputFrame unfocused;
    unfocused.focus = false;
    game.Frames(30, unfocused);
    EXPECT_EQ(aids().playMicroseconds - before, counted) << "nor does a window in the background";
    InputFrame back;  // the first frame with the focus back: its time went by in the background
    back.dt = 3.0f;
    game.Frame(back);
    EXPECT_EQ(aids().playMicroseconds - before, counted) << "nor the time until it comes back";

    ASSERT_TRUE(game.Key(GKK_ESCAPE));
    ASSERT_EQ(program().GameState, GameMenu);
    const std::uint64_t inMenu = aids().playMicroseconds;
    game.Frames(30, stalled);
    EXPECT_EQ(aids().playMicroseconds, inMenu) << "the clock stops in the in-game menu";

    ASSERT_TRUE(game.Key(GKK_ESCAPE));
    ASSERT_EQ(program().GameState, Playing);
    Press(game, LetterKey('U'));
    EXPECT_EQ(notes(noted), NoteBit(3)) << "the history came back";
}

// A record of another game is not used; a damaged play record means the same and a
// line in the main menu, and the database is left as it is.
TEST_F(NotesScenarioTest, AForeignOrDamagedPlayRecordIsIgnoredAndTheGameContinuesFromGameSave) {
    CellRef noted;
    CellNotes bits = 0;
    std::uint64_t seconds = 0;
    PlayAndExit(&noted, &bits, &seconds);
    const std::string saved = ReadFile(folder.file("game.save"));
    const std::string database = ReadFile(folder.file("game.db"));
    {
        PlayDatabase foreign;
        PlayRecord record;
        std::uint64_t fingerprint = 0;
        ASSERT_EQ(foreign.Open(folder.file("game.db")), DatabaseFault::Opened);
        ASSERT_TRUE(foreign.LoadRecord(record, fingerprint));
        ASSERT_EQ(foreign.Write(record, fingerprint + 1, {}), "");
    }
    const std::string foreign = ReadFile(folder.file("game.db"));

    for (const std::string& replaced :
         {foreign, database.substr(0, database.size() / 2), std::string("\xff\x00", 2)}) {
        WriteTextFile(folder.file("game.db"), replaced);
        GameRunner game(folder.path());
        const bool damaged = replaced != foreign;
        EXPECT_EQ(program().paste.menuMessage,
                  damaged ? "Play record not read: game.db is damaged; playing on from game.save" : "");
        if (damaged) {
            EXPECT_EQ(ReadFile(folder.file("game.db")), replaced) << "left as it is";
        }
        ASSERT_TRUE(Choose(game, ContinueId));
        ASSERT_EQ(program().GameState, Playing);
        EXPECT_TRUE(game.messages.empty());
        EXPECT_EQ(SavedGameText(board()), saved);
        EXPECT_EQ(aids().notes, NotesGrid{});
        EXPECT_EQ(aids().history.UndoSteps(), 0u);
        EXPECT_EQ(aids().PlaySeconds(), 0u);
        game.Key(GKK_ESCAPE);
        ASSERT_TRUE(Choose(game, GameExitId));
        game.FramesUntil([] { return false; }, 5);
    }
}

TEST_F(NotesScenarioTest, AWonGameKeepsItsTimeAsTheLevelsBestAndTheMainMenuShowsIt) {
    const Grid solution = SolutionForSeed(5);
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    CellRef last;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if (!board().IsGiven(i, j)) last = {i, j};
    // The givens come from another grid: put the solution in as givens, all but one cell.
    board().givens = solution;
    board().values = solution;
    board().givens[last.row][last.column] = board().values[last.row][last.column] = 0;
    InputFrame slow;
    slow.dt = 0.25f;
    game.Frames(40, slow);  // 10 s
    const Cell& cell = program().view.cells[last.row][last.column];
    game.Key(GKK_0, cell.x + 15, cell.y + 15);
    Press(game, ValueKey(solution[last.row][last.column]));
    game.FramesUntil([&] { return program().GameState == MainMenu; }, 5);
    ASSERT_EQ(program().GameState, MainMenu);
    ASSERT_EQ(game.messages.size(), 1u);
    EXPECT_EQ(game.messages[0].text, "You have won!");

    WaitForSavedFiles();
    const auto best = ReadDatabaseBestTimes(folder.file("game.db")).Of(Easy);
    ASSERT_TRUE(best.has_value());
    EXPECT_GE(*best, 10u);
    EXPECT_LT(*best, 12u);
    ASSERT_TRUE(SettleMenu(game));
    int bestLineGlyphs = 0;
    for (const Quad& q : GlyphQuads()) bestLineGlyphs += std::fabs(q.v[0].y - BestTimesY) < 1;
    EXPECT_GT(bestLineGlyphs, 10);
}

// The earlier versions' game.state (both versions) and best-times are read into a new
// game.db once and left as they are; the game continues from them as it did.
TEST_F(NotesScenarioTest, EarlierGameStateAndBestTimesAreTakenOverOnce) {
    CellRef noted;
    CellNotes bits = 0;
    std::uint64_t seconds = 0;
    PlayAndExit(&noted, &bits, &seconds);
    PlayRecord kept;
    std::uint64_t fingerprint = 0;
    ASSERT_TRUE(ReadDatabaseRecord(folder.file("game.db"), kept, &fingerprint));
    const std::string second = PlayRecordText(kept, fingerprint);
    std::string first = second;
    first.replace(first.find("state 2\n"), 8, "state 1\n");
    first.erase(first.find("hints "), first.find("notes\n") - first.find("hints "));
    BestTimes best;
    best.Record(Easy, 42);
    for (const std::string& state : {second, first}) {
        std::filesystem::remove(folder.file("game.db"));
        WriteTextFile(folder.file("game.state"), state);
        ASSERT_TRUE(SaveBestTimes(folder.file(BestTimesFileName), best));
        for (int start = 0; start < 2; ++start) {
            GameRunner game(folder.path());
            EXPECT_EQ(program().bestTimes.Of(Easy), 42u);
            ASSERT_TRUE(Choose(game, ContinueId));
            EXPECT_TRUE(notes(noted) == bits && aids().PlaySeconds() == seconds &&
                        aids().history.UndoSteps() == 2u);
            game.Key(GKK_ESCAPE);
            ASSERT_TRUE(Choose(game, GameExitId));
            game.FramesUntil([] { return false; }, 5);
            EXPECT_EQ(ReadFile(folder.file("game.state")), start == 0 ? state : "damaged") << "left as it is";
            // Taken over once: what the file says now no longer counts.
            WriteTextFile(folder.file("game.state"), "damaged");
            WriteTextFile(folder.file(BestTimesFileName), "damaged");
        }
    }
}
