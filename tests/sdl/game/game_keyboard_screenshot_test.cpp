// The play aids on the real engine (dummy video driver, software renderer),
// played with SDL key events alone: a value typed into the keyboard cell, whose
// outline and the same-value tint on the other cells holding that value are
// checked by their pixels and kept as the screenshot for README (in the build
// folder); then the help opened with '?'.
#include <SDL.h>

#include <cstring>

#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "pushed_events.h"
#include "platform/module_directory.h"
#include "play/view/cell_marks.h"
#include "sdl/engine_test_fixture.h"
#include "sudoku/generator.h"

namespace {

SDL_Keycode KeyForValue(int v) { return v <= 9 ? SDLK_0 + v : SDLK_a + (v - 10); }

bool MenuSettled() {
    const Program& p = TheProgram();
    return p.Gui && p.Gui->GetEnterLeave() == 0;
}

// The value held by the most givens, and a free cell near the board's middle that takes it.
void ChooseValueAndCell(int* value, CellRef* cell) {
    const SudokuBoard& board = TheProgram().board;
    int counts[17] = {};
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j) counts[board.givens[i][j]] += board.givens[i][j] != 0;
    *value = 1;
    for (int v = 1; v <= 16; ++v)
        if (counts[v] > counts[*value]) *value = v;
    for (int i = 6; i < 16; ++i)
        for (int j = 6; j < 16; ++j)
            if (!board.IsGiven(i, j) && board.IsAllowed(i, j, *value)) {
                *cell = {i, j};
                return;
            }
}

// The colour at the centre of a cell's top-left 4 x 4 corner inside its tint (no glyph there).
std::uint32_t TintPixel(const Cell& cell) {
    std::uint32_t argb = 0;
    gkSdlReadPixel(static_cast<int>(cell.x) + 4, static_cast<int>(cell.y) + 4, &argb);
    return argb;
}

}  // namespace

TEST(GameScreenshots, KeyboardCellAndSameValueTint) {
    TempFolder saves;
    CreateFrameLock();

    int value = 0, frames = 0, tintedCells = 0;
    CellRef target;
    bool shotSaved = false, helpOpened = false;
    std::uint32_t outline = 0, tint = 0, plain = 0;
    enum { Menu, Difficulty, Level, Tint, Walk, Shot, Help, Done } stage = Menu;
    // Reads what the typed value left on screen: the outline, the tint, a plain cell.
    const auto readPixels = [&] {
        const Program& p = TheProgram();
        const Cell& at = p.view.cells[target.row][target.column];
        gkSdlReadPixel(static_cast<int>(at.x) + 15, static_cast<int>(at.y), &outline);
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j) {
                if (i == target.row && j == target.column) continue;
                const std::uint32_t pixel = TintPixel(p.view.cells[i][j]);
                if (p.board.values[i][j] == value) {
                    tint = pixel;
                    tintedCells += Near(pixel, ClassicPalette().sameValueTint, 8);
                } else if (p.board.values[i][j] == 0) {
                    plain = pixel;
                }
            }
    };
    RunOptions options;
    options.saveDirectory = saves.Path() + "/";
    // One key every other frame: a key pushed in one frame is handled in the next.
    options.frameHook = [&] {
        TheProgram().gk->System_NextFrameWithin(0);  // a frame for each step of the script
        const Program& p = TheProgram();
        if (++frames == 1) gkSdlSetFrameCapture(true);
        if (frames > 600 || stage == Done) return true;
        if (frames % 2 == 1) return false;
        switch (stage) {
            case Menu:
                if (!MenuSettled()) break;
                PushKey(SDLK_RETURN);
                stage = Difficulty;
                break;
            case Difficulty:
                if (p.GameState != DifficultyMenu || !MenuSettled()) break;
                SeedRandom(20261208);
                PushKey(SDLK_DOWN);
                stage = Level;
                break;
            case Level:
                if (p.Gui->GetFocused() && p.Gui->GetFocused()->id == Hard) PushKey(SDLK_RETURN);
                if (p.GameState != Playing) break;
                ChooseValueAndCell(&value, &target);
                PushKey(SDLK_v);  // the same-value tint, off at first
                stage = Tint;
                break;
            case Tint:
                PushKey(SDLK_RIGHT);  // shows the keyboard cell
                stage = Walk;
                break;
            case Walk: {
                const CellRef at = p.aids.keyboard.Position();
                if (at.row != target.row) {
                    PushKey(at.row < target.row ? SDLK_RIGHT : SDLK_LEFT);
                } else if (at.column != target.column) {
                    PushKey(at.column < target.column ? SDLK_DOWN : SDLK_UP);
                } else if (p.board.values[target.row][target.column] != value) {
                    PushKey(KeyForValue(value));
                } else {
                    stage = Shot;
                }
                break;
            }
            case Shot:
                shotSaved = gkSdlSaveScreenshot((GetModuleDirectory() + "screenshot-keyboard.png").c_str());
                readPixels();
                PushText("?");
                stage = Help;
                break;
            case Help:
                helpOpened = p.aids.helpOpen;
                stage = Done;
                break;
            case Done:
                break;
        }
        return false;
    };
    EXPECT_EQ(RunGame(options), 0);
    ASSERT_EQ(stage, Done) << "the script stopped";
    EXPECT_TRUE(shotSaved);
    EXPECT_TRUE(Near(outline, ClassicPalette().keyboardFrame, 8)) << std::hex << outline;
    EXPECT_TRUE(Near(tint, ClassicPalette().sameValueTint, 8)) << std::hex << tint;
    EXPECT_FALSE(Near(plain, ClassicPalette().sameValueTint, 8)) << "cells without the value keep their face";
    EXPECT_GE(tintedCells, 5) << "every cell holding the value is tinted";
    EXPECT_TRUE(helpOpened) << "'?' from SDL's text input opens the help";
}
