// In the game's own 800 x 700 window the high-resolution companions change nothing:
// the real engine's screenshots of the main menu, the difficulty menu and a board
// with the value ring open are the same, pixel for pixel, with the companions as
// without them.
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "pushed_events.h"
#include "sdl/engine_test_fixture.h"
#include "sudoku/generator.h"

namespace {

const char* const kScreens[] = {"the main menu", "the difficulty menu", "a board with the ring open"};

using Frame = std::vector<std::uint32_t>;

// The last captured frame, game pixel by game pixel.
Frame Captured() {
    Frame frame(800 * 700);
    for (int i = 0; i < 800 * 700; ++i) EXPECT_TRUE(gkSdlReadPixel(i % 800, i / 800, &frame[i]));
    return frame;
}

// Plays into the three screens with the keyboard and captures each.
std::vector<Frame> Screens(bool companions) {
    TempFolder saves;
    CreateFrameLock();
    gkSdlUseCompanions(companions);
    std::vector<Frame> shots;
    int frames = 0, lastState = -1;
    RunOptions options;
    options.saveDirectory = saves.Path() + "/";
    options.frameHook = [&] {
        Program& p = TheProgram();
        p.gk->System_NextFrameWithin(0);  // a frame for each step of the script
        gkSdlSetFrameCapture(true);
        frames = p.GameState == lastState ? frames + 1 : 0;
        lastState = p.GameState;
        const std::size_t step = shots.size();
        // The menus settled and their focus animation (0.2 s) over.
        const bool settled = p.Gui && p.Gui->GetEnterLeave() == 0 && frames > 30;
        if (step == 0 && settled) {
            shots.push_back(Captured());
            PushKey(SDLK_RETURN);  // New Game
        } else if (step == 1 && p.GameState == DifficultyMenu && settled) {
            shots.push_back(Captured());
            SeedRandom(20261209);
            PushKey(SDLK_RETURN);  // Medium
        } else if (step == 2 && p.GameState == Playing && !p.picker->open) {
            p.picker->OpenOn(8, 8, p.view.cells[8][8].x, p.view.cells[8][8].y);
        } else if (step == 2 && p.picker->open) {
            shots.push_back(Captured());  // the frame drawn with the ring
        }
        return shots.size() == 3 || frames > 600;  // or a stuck script ends the run
    };
    RunGame(options);
    gkSdlUseCompanions(true);
    return shots;
}

}  // namespace

TEST(GameScreenshots, InTheGamesOwnWindowCompanionsChangeNoPixel) {
    const std::vector<Frame> with = Screens(true), without = Screens(false);
    ASSERT_EQ(with.size(), 3u);
    ASSERT_EQ(without.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        int differing = 0;
        for (std::size_t j = 0; j < with[i].size(); ++j) differing += with[i][j] != without[i][j];
        EXPECT_EQ(differing, 0) << kScreens[i];
    }
}
