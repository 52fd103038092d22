// In the game's own 800 x 700 window the high-resolution companions change nothing:
// the real engine's screenshots of the main menu, the difficulty menu and a board
// with the value ring open are the same, pixel for pixel, with the companions as
// without them.
#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine/sdl/sdl_handles.h"
#include "engine_test_fixture.h"
#include "pushed_events.h"
#include "sudoku/generator.h"

namespace {

const char* const kShots[] = {"main-menu.png", "difficulty-menu.png", "board.png"};

// The menus settled and their focus animation (0.2 s) over.
bool Settled(const Program& p, int framesInState) {
    return p.Gui && p.Gui->GetEnterLeave() == 0 && framesInState > 30;
}

// Plays into the three screens with the keyboard and saves each into folder.
void TakeShots(const std::string& folder, bool companions) {
    TempFolder saves;
    CreateFrameLock();
    gkSdlUseCompanions(companions);
    int step = 0, frames = 0, lastState = -1;
    const auto shoot = [&](const char* name) {
        EXPECT_TRUE(gkSdlSaveScreenshot((folder + "/" + name).c_str())) << name;
        ++step;
    };
    RunOptions options;
    options.saveDirectory = saves.path.string() + "/";
    options.frameHook = [&] {
        Program& p = TheProgram();
        gkSdlSetFrameCapture(true);
        frames = p.GameState == lastState ? frames + 1 : 0;
        lastState = p.GameState;
        if (frames > 600) return true;  // a stuck script ends the run
        if (step == 0 && Settled(p, frames)) {
            shoot(kShots[0]);
            PushKey(SDLK_RETURN);  // New Game
        } else if (step == 1 && p.GameState == DifficultyMenu && Settled(p, frames)) {
            shoot(kShots[1]);
            SeedRandom(20261209);
            PushKey(SDLK_RETURN);  // Medium
        } else if (step == 2 && p.GameState == Playing) {
            const Cell& cell = p.View.cells[8][8];
            p.Picker->OpenOn(8, 8, cell.x, cell.y);
            ++step;
        } else if (step == 3) {
            shoot(kShots[2]);
        }
        return step == 4;
    };
    RunGame(options);
    gkSdlUseCompanions(true);
    EXPECT_EQ(step, 4) << "the script stopped at step " << step;
}

SdlSurfacePtr LoadArgb(const std::string& path) {
    SdlSurfacePtr loaded(IMG_Load(path.c_str()));
    if (!loaded) return nullptr;
    return SdlSurfacePtr(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
}

}  // namespace

TEST(GameScreenshots, InTheGamesOwnWindowCompanionsChangeNoPixel) {
    TempFolder with, without;
    TakeShots(with.path.string(), true);
    TakeShots(without.path.string(), false);
    for (const char* name : kShots) {
        SdlSurfacePtr a = LoadArgb(with.File(name)), b = LoadArgb(without.File(name));
        ASSERT_TRUE(a && b) << name;
        ASSERT_EQ(a->w, 800) << name;
        ASSERT_EQ(a->h, 700) << name;
        ASSERT_EQ(b->w, a->w) << name;
        ASSERT_EQ(b->h, a->h) << name;
        int differing = 0;
        for (int y = 0; y < a->h; ++y) {
            const auto* rowA = static_cast<const unsigned char*>(a->pixels) + y * a->pitch;
            const auto* rowB = static_cast<const unsigned char*>(b->pixels) + y * b->pitch;
            for (int x = 0; x < a->w; ++x) differing += std::memcmp(rowA + 4 * x, rowB + 4 * x, 4) != 0;
        }
        EXPECT_EQ(differing, 0) << name;
    }
}
