// The play aids on the real engine (dummy video driver, software renderer),
// played with SDL key events alone: a value typed into the keyboard cell, whose
// outline and the same-value tint on the other cells holding that value are
// checked by their pixels and kept as the screenshot for README; then the help
// overlay opened with '?'. Both screenshots land in the build folder.
#include <SDL.h>

#include <cstring>
#include <functional>
#include <vector>

#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine_test_fixture.h"
#include "platform/module_directory.h"
#include "play/cell_marks.h"
#include "sudoku/generator.h"

namespace {

void PushKey(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    SDL_PushEvent(&event);
}

void PushText(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, text, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
}

SDL_Keycode KeyForValue(int v) { return v <= 9 ? SDLK_0 + v : SDLK_a + (v - 10); }

struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

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

    int value = 0;
    CellRef target;
    bool shotsSaved = true, overlayOpen = false;
    std::uint32_t outline = 0, tint = 0, plain = 0;
    int tintedCells = 0;
    std::vector<Step> steps = {
        {[] { return MenuSettled(); }, [] { PushKey(SDLK_RETURN); }},
        {[] { return TheProgram().GameState == DifficultyMenu && MenuSettled(); },
         [] {
             SeedRandom(20261208);
             PushKey(SDLK_DOWN);
         }},
        {[] { return TheProgram().Gui->GetFocused() && TheProgram().Gui->GetFocused()->id == Hard; },
         [] { PushKey(SDLK_RETURN); }},
        {[] { return TheProgram().GameState == Playing; },
         [&] {
             ChooseValueAndCell(&value, &target);
             PushKey(SDLK_RIGHT);  // shows the keyboard cell
         }},
    };
    // An arrow every other frame (a key pushed in one frame is handled in the next)
    // until the keyboard cell stands on the target, then the value.
    const auto walk = [&] {
        const CellRef at = TheProgram().Aids.keyboard.Position();
        if (at.row != target.row) {
            PushKey(at.row < target.row ? SDLK_RIGHT : SDLK_LEFT);
        } else if (at.column != target.column) {
            PushKey(at.column < target.column ? SDLK_DOWN : SDLK_UP);
        } else {
            PushKey(KeyForValue(value));
        }
    };
    for (int i = 0; i < 45; ++i) {
        steps.push_back({[] { return true; }, walk});
        steps.push_back({[] { return true; }, [] {}});
    }
    steps.push_back({[] { return true; }, [] {}});
    steps.push_back({[] { return true; }, [&] {
                         shotsSaved &= gkSdlSaveScreenshot((GetModuleDirectory() + "screenshot-keyboard.png").c_str());
                         const Program& p = TheProgram();
                         const Cell& at = p.View.cells[target.row][target.column];
                         gkSdlReadPixel(static_cast<int>(at.x) + 15, static_cast<int>(at.y), &outline);
                         for (int i = 0; i < 16; ++i)
                             for (int j = 0; j < 16; ++j) {
                                 if (i == target.row && j == target.column) continue;
                                 const std::uint32_t pixel = TintPixel(p.View.cells[i][j]);
                                 if (p.board.values[i][j] == value) {
                                     tint = pixel;
                                     tintedCells += Near(pixel, SameValueTintColor, 8);
                                 } else if (p.board.values[i][j] == 0 && !p.board.IsGiven(i, j)) {
                                     plain = pixel;
                                 }
                             }
                         PushText("?");
                     }});
    steps.push_back({[] { return TheProgram().Aids.helpOpen; },
                     [&] {
                         overlayOpen = true;
                         shotsSaved &= gkSdlSaveScreenshot((GetModuleDirectory() + "screenshot-help.png").c_str());
                     }});

    std::size_t next = 0;
    int frames = 0;
    RunOptions options;
    options.saveDirectory = saves.path.string() + "/";
    options.frameHook = [&] {
        if (++frames == 1) gkSdlSetFrameCapture(true);
        if (frames > 600) return true;
        if (next == steps.size()) return true;
        if (steps[next].ready()) steps[next++].act();
        return false;
    };
    EXPECT_EQ(RunGame(options), 0);
    ASSERT_EQ(next, steps.size()) << "the script stopped at step " << next;
    EXPECT_TRUE(shotsSaved);
    EXPECT_EQ(TheProgram().board.values[target.row][target.column], value) << "typed into the keyboard cell";
    EXPECT_TRUE(Near(outline, KeyboardCellColor, 8)) << std::hex << outline;
    EXPECT_TRUE(Near(tint, SameValueTintColor, 8)) << std::hex << tint;
    EXPECT_FALSE(Near(plain, SameValueTintColor, 8)) << "cells without the value keep their face";
    EXPECT_GE(tintedCells, 5) << "every cell holding the value is tinted";
    EXPECT_TRUE(overlayOpen);
}
