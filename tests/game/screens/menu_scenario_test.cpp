// Stories of the menus and the state machine, played through the real start-up,
// frame loop and shutdown on the recording engine.
#include <sys/inotify.h>
#include <unistd.h>

#include "app/states.h"
#include "game/scenario_support.h"
#include "sudoku/generator.h"

namespace {

constexpr int NewGameId = 1, ContinueId = 2, CreditsId = 4, ExitId = 5;
constexpr int ResumeId = 1, GameCreditsId = 3, GameExitId = 4;

// Writes a saved game: an unfinished puzzle with givens, a player's value and a clash.
void WriteUnfinishedGame(const GameFolder& folder, SudokuBoard* written) {
    SudokuBoard board;
    board.directory = folder.path();
    SeedRandom(7);
    ASSERT_TRUE(board.NewGame(Hard));
    // A player's value in a free cell of row 0 that repeats a given of that row.
    int given = 0, free = -1;
    for (int c = 0; c < 16; ++c) {
        if (board.givens[0][c] != 0 && given == 0) given = board.givens[0][c];
        if (board.givens[0][c] == 0 && free < 0) free = c;
    }
    board.SetValue(0, free, given);
    board.Save("game.save");
    *written = board;
}

}  // namespace

TEST_F(ScenarioTest, FirstStartOffersNoGameToContinueAndExitWritesNothing) {
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    EXPECT_EQ(program().GameState, MainMenu);
    EXPECT_FALSE(IsEnabled(ContinueId));
    EXPECT_EQ(FocusedId(), NewGameId);

    game.Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), CreditsId) << "Down skips the disabled item";
    InputFrame hover;
    hover.mouseX = 400;
    hover.mouseY = MenuRow1 + 10;
    game.Frames(3, hover);
    EXPECT_EQ(FocusedId(), CreditsId) << "hovering the disabled item focuses nothing";
    EXPECT_EQ(gui().GetHovered(), nullptr);

    game.Key(GKK_DOWN);
    EXPECT_EQ(FocusedId(), ExitId);
    game.Key(GKK_ENTER);
    EXPECT_TRUE(game.FramesUntil([] { return false; }, 60) == false);
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(game.exitStatus, 0);
    EXPECT_FALSE(folder.Has("game.save"));
    EXPECT_TRUE(game.messages.empty());
}

TEST_F(ScenarioTest, NewHardGameShowsTheBoardWithSeventyGivens) {
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    ASSERT_TRUE(ChooseFocused(game));
    ASSERT_EQ(program().GameState, DifficultyMenu);
    EXPECT_EQ(program().PreviousState, MainMenu);
    EXPECT_EQ(FocusedId(), Medium);

    ASSERT_TRUE(Choose(game, Hard));
    ASSERT_EQ(program().GameState, Playing);
    EXPECT_EQ(program().PreviousState, DifficultyMenu);
    EXPECT_EQ(CountGivens(), 70);
    game.Frame();  // a frame drawn in play

    const auto backdrop = QuadsWithTexture(0);
    ASSERT_FALSE(backdrop.empty());
    EXPECT_FLOAT_EQ(backdrop[0].v[0].x, 155);
    EXPECT_FLOAT_EQ(backdrop[0].v[0].y, 105);
    EXPECT_FLOAT_EQ(backdrop[0].v[2].x, 645);
    EXPECT_FLOAT_EQ(backdrop[0].v[2].y, 595);
    EXPECT_EQ(backdrop[0].v[0].col, 0xFFAAAAAAu);

    auto cellAt = [this](float x, float y) {
        for (const Quad& q : QuadsWithTexture(program().UnselectTexture))
            if (q.v[0].x == x && q.v[0].y == y && q.v[2].x == x + 30 && q.v[2].y == y + 30) return true;
        return false;
    };
    EXPECT_TRUE(cellAt(187, 107)) << "cell [1][0]";
    EXPECT_TRUE(cellAt(157, 137)) << "cell [0][1]";
    EXPECT_TRUE(cellAt(613, 563)) << "cell [15][15]";
    EXPECT_EQ(QuadsWithTexture(program().UnselectTexture).size(), 256u);

    // Givens in blue, one glyph each, at the font's full size.
    const float glyphHeight = program().MenuFont->GetHeight();
    int givensDrawn = 0;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            if (!program().board.IsGiven(i, j)) continue;
            const auto glyphs = GlyphsInCell(i, j);
            ASSERT_EQ(glyphs.size(), 1u);
            EXPECT_EQ(glyphs[0].v[0].col, 0xFF0000DDu);
            EXPECT_FLOAT_EQ(glyphs[0].v[3].y - glyphs[0].v[0].y, glyphHeight);
            ++givensDrawn;
        }
    }
    EXPECT_EQ(givensDrawn, 70);

    // The hint text, above the board, is the only text at 0.8 scale, drawn in red; the
    // "F1: keys" note below the board is the play aids' own.
    int hintGlyphs = 0;
    for (const Quad& q : GlyphQuads()) {
        const float h = q.v[3].y - q.v[0].y;
        if (q.v[0].y > 600) continue;
        if (q.v[0].y < 100) {
            EXPECT_NEAR(h, glyphHeight * 0.8f, 0.01f);
            EXPECT_EQ(q.v[0].col, 0xFFEE0000u);
            ++hintGlyphs;
        } else {
            EXPECT_FLOAT_EQ(h, glyphHeight);
        }
    }
    EXPECT_GT(hintGlyphs, 20);
    EXPECT_FLOAT_EQ(program().MenuFont->GetScale(), 1.0f);
}

TEST_F(ScenarioTest, EscapeMovesBetweenPlayTheInGameMenuAndCredits) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));

    game.Key(GKK_ESCAPE);
    EXPECT_EQ(program().GameState, GameMenu);
    EXPECT_EQ(program().PreviousState, Playing);
    ASSERT_TRUE(SettleMenu(game));
    EXPECT_EQ(FocusedId(), ResumeId);

    game.Key(GKK_ESCAPE);
    EXPECT_EQ(program().GameState, Playing) << "Escape resumes in the same frame";

    game.Key(GKK_ESCAPE);
    ASSERT_TRUE(Choose(game, GameCreditsId));
    EXPECT_EQ(program().GameState, Credits);
    game.Frames(3);
    EXPECT_EQ(program().GameState, Credits);

    game.Key(GKK_ESCAPE);
    EXPECT_EQ(program().GameState, GameMenu);
    EXPECT_EQ(program().PreviousState, Credits);
    ASSERT_TRUE(SettleMenu(game));
    EXPECT_NE(gui().GetControl(ResumeId), nullptr);
    EXPECT_NE(gui().GetControl(GameCreditsId), nullptr);
    EXPECT_NE(gui().GetControl(GameExitId), nullptr);

    ASSERT_TRUE(Choose(game, ResumeId));
    EXPECT_EQ(program().GameState, Playing);
}

TEST_F(ScenarioTest, EscapeInTheDifficultyMenuActsAtOnce) {
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    ASSERT_TRUE(ChooseFocused(game));
    ASSERT_EQ(program().GameState, DifficultyMenu);
    game.Key(GKK_ESCAPE);
    EXPECT_EQ(program().GameState, MainMenu);
    EXPECT_EQ(FocusedId(), NewGameId);
    EXPECT_EQ(gui().GetControl(Hard), nullptr) << "the difficulty items are gone";
}

TEST_F(ScenarioTest, EscapeDuringTheDifficultyLeaveAnimationMakesNoGame) {
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    ASSERT_TRUE(ChooseFocused(game));
    ASSERT_TRUE(SettleMenu(game));
    game.Key(GKK_ENTER);  // "Medium"
    game.Key(GKK_ESCAPE);
    EXPECT_EQ(program().GameState, MainMenu);
    game.Frames(20);
    EXPECT_EQ(program().GameState, MainMenu);
    EXPECT_EQ(program().board.size, 0);
}

TEST_F(ScenarioTest, EscapeInTheMainMenuEndsOnlyAfterTheLeaveAnimation) {
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    ASSERT_TRUE(game.Key(GKK_ESCAPE));
    EXPECT_FALSE(game.Ended());
    EXPECT_EQ(gui().GetEnterLeave(), 1);
    game.FramesUntil([] { return false; }, 60);
    EXPECT_TRUE(game.Ended());
    EXPECT_GT(game.FramesRun(), 3);
}

TEST_F(ScenarioTest, SavedUnfinishedGameCanBeContinued) {
    SudokuBoard saved;
    WriteUnfinishedGame(folder, &saved);
    GameRunner game(folder.path());
    ASSERT_TRUE(SettleMenu(game));
    EXPECT_TRUE(IsEnabled(ContinueId));
    EXPECT_EQ(program().board.values, saved.values);

    ASSERT_TRUE(Choose(game, ContinueId));
    ASSERT_EQ(program().GameState, Playing);
    game.Frame();
    int clashes = 0;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            const int v = saved.values[i][j];
            const auto glyphs = GlyphsInCell(i, j);
            if (v == 0) {
                EXPECT_TRUE(glyphs.empty());
                continue;
            }
            ASSERT_EQ(glyphs.size(), 1u);
            if (saved.givens[i][j]) {
                EXPECT_EQ(glyphs[0].v[0].col, 0xFF0000DDu);
            } else if (!saved.IsAllowed(i, j, v)) {
                EXPECT_EQ(glyphs[0].v[0].col, 0xFFEE0000u);
                ++clashes;
            } else {
                EXPECT_EQ(glyphs[0].v[0].col, 0xFF000000u);
            }
        }
    }
    EXPECT_EQ(clashes, 1);
}

TEST_F(ScenarioTest, ExitFromTheInGameMenuWritesNothingAlreadySaved) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Medium));
    // The new game was saved as it started; Exit finds nothing new to write (another
    // copy of the game may have saved its own moves since).
    WaitForSavedFiles();
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    const SudokuBoard played = program().board;
    game.Key(GKK_ESCAPE);
    ASSERT_TRUE(Choose(game, GameExitId));
    game.FramesUntil([] { return false; }, 5);
    ASSERT_TRUE(game.Ended());

    // Count the times game.save was put in place.
    char events[4096];
    int saves = 0;
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;) {
        for (char* p = events; p < events + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            if (e->len && std::string(e->name) == "game.save") ++saves;
            p += sizeof(inotify_event) + e->len;
        }
    }
    close(watch);
    EXPECT_EQ(saves, 0);

    const std::string bytes = ReadFile(folder.file("game.save"));
    int lines = 0;
    for (char c : bytes) lines += c == '\n';
    EXPECT_EQ(lines, 33);
    SudokuBoard loaded;
    loaded.directory = folder.path();
    ASSERT_TRUE(loaded.Load("game.save"));
    EXPECT_EQ(loaded.values, played.values);
    EXPECT_EQ(loaded.givens, played.givens);
}

TEST_F(ScenarioTest, MissingBackgroundShowsOneMessageAndRunsNoFrame) {
    WriteTextFile(folder.file("game.save"), "old contents");
    DataCopy data;
    data.Remove("bgp.jpg");
    GameRunner game(folder.path());
    EXPECT_TRUE(game.Ended());
    ASSERT_EQ(game.messages.size(), 1u);
    EXPECT_EQ(game.messages[0].text,
              "Can't load circle2.png, BG.PNG, BG2.PNG, CURSOR.PNG, font1.fnt, unselect.bmp, select.bmp or "
              "MENU.WAV");
    EXPECT_EQ(game.messages[0].caption, "Error");
    EXPECT_TRUE(game.messages[0].errorIcon);
    EXPECT_EQ(RecordingEngine::Instance().framesRun, 0);
    EXPECT_EQ(ReadFile(folder.file("game.save")), "old contents");
    EXPECT_EQ(RecordingEngine::Instance().LiveTextures(), 0);
    EXPECT_EQ(RecordingEngine::Instance().references, 0);
}

TEST_F(ScenarioTest, MissingFontShowsNoMessageAndTheLoopRuns) {
    DataCopy data;
    data.Remove("font1.fnt");
    GameRunner game(folder.path());
    EXPECT_FALSE(game.Ended());
    game.Frames(10);
    EXPECT_TRUE(game.messages.empty());
    EXPECT_EQ(program().GameState, MainMenu);
}

TEST_F(ScenarioTest, ShutdownGivesBackEveryResource) {
    {
        GameRunner game(folder.path());
        ASSERT_TRUE(StartNewGame(game, Easy));
        game.Close();
    }
    EXPECT_EQ(RecordingEngine::Instance().LiveTextures(), 0);
    EXPECT_TRUE(RecordingEngine::Instance().effects.empty());
    EXPECT_EQ(RecordingEngine::Instance().references, 0);
    EXPECT_EQ(RecordingEngine::Instance().shutdownCalls, 1);
    EXPECT_TRUE(folder.Has("game.save")) << "closing the window saves like Exit";
}

TEST_F(ScenarioTest, EngineStatesAreSetInOrder) {
    {
        GameRunner game(folder.path());
        game.Close();
    }
    const auto& states = RecordingEngine::Instance().states;
    ASSERT_EQ(states.size(), 10u);
    const int order[] = {16, 1, 2, 7, 6, 11, 8, 9, 10, 3};  // the display-lost callback last
    for (int i = 0; i < 10; ++i) EXPECT_EQ(states[i].first, order[i]);
    EXPECT_EQ(states[0].second, folder.path() + "gk_sudoku.log");
    EXPECT_EQ(states[3].second, "Quorvel Veltrane Sudoku");
    EXPECT_EQ(states[4].second, "103");
    EXPECT_EQ(states[6].second, "800");
    EXPECT_EQ(states[7].second, "700");
    EXPECT_EQ(states[8].second, "32");
}

TEST_F(ScenarioTest, FailedEngineStartReadsAndWritesNothing) {
    WriteTextFile(folder.file("game.save"), "16");
    const std::size_t texturesBefore = RecordingEngine::Instance().textures.size();
    RecordingEngine::Instance().initiateResult = false;
    GameRunner game(folder.path());
    RecordingEngine::Instance().initiateResult = true;
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(game.exitStatus, 0);
    EXPECT_EQ(RecordingEngine::Instance().textures.size(), texturesBefore);
    EXPECT_EQ(ReadFile(folder.file("game.save")), "16");
    EXPECT_EQ(RecordingEngine::Instance().references, 0);
}
