// veltrane-screens: screenshots of the game on the real engine as a player sees it:
// the main menu, the difficulty menu, and a Medium board with values of its own (one
// of them clashing, in red), notes in a few cells and the value ring open. Each is
// written as a PNG file of the whole output (bars included) into a folder.
// --full-screen runs the game full screen at the display's size (under Xvfb, the
// pictures tools/glyph_edges.py measures); --hold SECONDS keeps the board on screen
// that long after the last shot, with "ready" on standard output, for a screen grab
// from outside; --theme classic|dark|high-contrast draws it in that theme.
// --statistics instead writes a run of sample games into the play record and takes
// the main menu with the statistics screen open (S). The saved game and settings
// live in a temporary folder.
// Usage: veltrane-screens OUTPUT-FOLDER [--full-screen] [--hold SECONDS] [--theme THEME] [--statistics]
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine/sdl/sdl_engine.h"
#include "play/session/move.h"
#include "pushed_events.h"
#include "save/records/play_database.h"
#include "sudoku/generator.h"

namespace {

using Clock = std::chrono::steady_clock;

bool MenuSettled(const Program& p) {
    return p.Gui && p.Gui->GetEnterLeave() == 0;
}

// Own values in the first free cells of the top rows: allowed ones (black) and, in the
// last, a value its row already holds (red); notes in free cells further down.
void FillSomeCells(Program& p) {
    SudokuBoard& board = p.board;
    const BoardEdit edit = p.aids.EditOf(board);
    int written = 0;
    for (int i = 0; i < 16 && written < 6; ++i)
        for (int j = 0; j < 4 && written < 6; ++j) {
            if (board.IsGiven(i, j) || board.values[i][j] != 0) continue;
            for (int v = 1; v <= 16; ++v) {
                const bool clash = !board.IsAllowed(i, j, v);
                if (clash == (written == 5)) {
                    WriteCellValue(edit, i, j, v);
                    ++written;
                    break;
                }
            }
        }
    // Notes: every value in the first cell; then values a slot apart, so that each
    // note digit stands alone (for measuring).
    int noted = 0;
    for (int i = 0; i < 16 && noted < 8; ++i)
        for (int j = 12; j < 16 && noted < 8; ++j) {
            if (!CanHoldNotes(board, i, j)) continue;
            for (int v = 1; v <= 16; ++v) {
                const int slot = v - 1, row = slot / 4, column = slot % 4;
                const bool apart = row % 2 == noted % 2 && column % 2 == noted % 2;
                if (noted == 0 || apart) ToggleNote(edit, i, j, v);
            }
            ++noted;
        }
}

void OpenRingNearTheMiddle(Program& p) {
    for (int i = 7; i < 16; ++i)
        for (int j = 7; j < 16; ++j)
            if (p.board.values[i][j] == 0) {
                const Cell& cell = p.view.cells[i][j];
                p.picker->OpenOn(i, j, cell.x, cell.y);
                return;
            }
}

// Games of each classic level and two logic levels: wins getting faster with a few
// slower ones, some won with hints, an abandoned one now and then.
void WriteSampleGames(const std::string& path) {
    PlayDatabase database;
    if (database.Open(path) != DatabaseFault::Opened) return;
    std::uint32_t state = 20261210;
    const auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    struct Run {
        PuzzleKind kind;
        std::int32_t level;
        int games;
        std::uint64_t seconds;
    };
    std::int64_t started = 1'790'000'000'000'000;
    for (const Run run : {Run{PuzzleKind::Classic, Easy, 34, 600}, Run{PuzzleKind::Classic, Medium, 18, 1500},
                          Run{PuzzleKind::Classic, Hard, 9, 3000}, Run{PuzzleKind::Logic, Medium, 6, 1800},
                          Run{PuzzleKind::Logic, Hard, 3, 4200}}) {
        for (int i = 0; i < run.games; ++i) {
            GameEntry game;
            game.startedMicros = started += 3'600'000'000;
            game.kind = run.kind;
            game.level = run.level;
            game.playSeconds =
                run.seconds * (100 - static_cast<std::uint64_t>(i)) / 100 + next() % (run.seconds / 3);
            game.hints = next() % 6 == 0 ? 2 : 0;
            game.outcome = next() % 7 == 0 ? GameOutcome::Abandoned : GameOutcome::Won;
            PlayRecord record;
            record.startedMicros = game.startedMicros;
            record.playSeconds = game.playSeconds;
            record.hintsUsed = game.hints;
            database.Write(record, 1, game);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: veltrane-screens OUTPUT-FOLDER [--full-screen] [--hold SECONDS] [--theme THEME]\n",
                   stderr);
        return 2;
    }
    const std::string output = argv[1];
    bool fullScreen = false, statistics = false;
    double hold = 0;
    std::string theme;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full-screen") == 0) fullScreen = true;
        if (std::strcmp(argv[i], "--statistics") == 0) statistics = true;
        if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) hold = std::atof(argv[++i]);
        if (std::strcmp(argv[i], "--theme") == 0 && i + 1 < argc) theme = argv[++i];
    }
    std::filesystem::create_directories(output);
    char folder[] = "/tmp/veltrane-screens-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    std::ofstream(std::string(folder) + "/" + SettingsFileName)
        << "full-screen=" << (fullScreen ? "on" : "off") << "\n"
        << (theme.empty() ? "" : "theme=" + theme + "\n");
    if (statistics) WriteSampleGames(std::string(folder) + "/" + PlayDatabaseFileName);
    CreateFrameLock();

    enum Phase { MainMenuShot, DifficultyShot, Board, BoardShot, Holding } phase = MainMenuShot;
    int frames = 0, settled = 0, shots = 0;
    Clock::time_point held;
    const auto shoot = [&](const char* name) {
        shots += gkSdlSaveScreenshot((output + "/" + name).c_str()) ? 1 : 0;
    };
    RunOptions options;
    options.saveDirectory = std::string(folder) + "/";
    options.frameHook = [&] {
        Program& p = TheProgram();
        p.gk->System_NextFrameWithin(0);  // a frame for each step of the script
        gkSdlSetFrameCapture(phase != Holding);
        if (++frames > 2000) return true;  // a stuck run ends
        // Frames since the menu on screen settled: after 30 its focus animation is over too.
        settled = MenuSettled(p) ? settled + 1 : 0;
        switch (phase) {
            case MainMenuShot:
                if (settled < 30) return false;
                if (statistics && !p.statisticsOpen) {
                    PushKey(SDLK_s);
                    return false;
                }
                if (statistics) {
                    shoot("statistics.png");
                    return true;
                }
                shoot("main-menu.png");
                PushKey(SDLK_RETURN);  // New Game
                phase = DifficultyShot;
                return false;
            case DifficultyShot:
                if (p.GameState != DifficultyMenu || settled < 30) return false;
                shoot("difficulty-menu.png");
                SeedRandom(20261208);
                PushKey(SDLK_RETURN);  // Medium
                phase = Board;
                return false;
            case Board:
                if (p.GameState != Playing) return false;
                FillSomeCells(p);
                OpenRingNearTheMiddle(p);
                phase = BoardShot;
                return false;
            case BoardShot:
                shoot("board.png");
                std::printf("ready\n");
                std::fflush(stdout);
                held = Clock::now();
                phase = Holding;
                return false;
            case Holding:
                return std::chrono::duration<double>(Clock::now() - held).count() >= hold;
        }
        return true;
    };
    RunGame(options);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::printf("%d screenshots in %s\n", shots, output.c_str());
    return shots == (statistics ? 1 : 3) ? 0 : 1;
}
