// The window: its size on displays of high density, and the game's 800 x 700
// pixels scaled into a resized or full-screen window with bars, the mouse mapped back.
#include <SDL.h>
#include <SDL_image.h>

#include <limits>

#include "engine/sdl/video/window_scale.h"
#include "sdl/engine_test_fixture.h"

namespace {

// The engine's window is the only one; its id depends on earlier SDL runs in this process.
SDL_Window* TheWindow() {
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 100 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
    return window;
}

void DrainEvents() {
    SDL_PumpEvents();  // size changes reach the renderer through its event watch
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

// Where in the game a click at window pixel (x, y) lands, as the next frame sees it.
SDL_FPoint ClickSeenInTheGame(GK* gk, SDL_Window* window, int x, int y) {
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.windowID = SDL_GetWindowID(window);
    click.button.button = SDL_BUTTON_LEFT;
    click.button.x = x;
    click.button.y = y;
    SDL_PushEvent(&click);
    static GK* engine;
    static SDL_FPoint seen;
    engine = gk;
    seen = SDL_FPoint{-1, -1};
    gk->System_SetState(GK_FRAMEFUNC, [] {
        engine->Input_GetMousePos(&seen.x, &seen.y);
        return true;
    });
    gk->System_Start();
    return seen;
}

}  // namespace

TEST(WindowScale, DenseDisplaysGetAWholeMultipleThatFits) {
    EXPECT_EQ(ChooseWindowScale(96, 1920, 1040, 800, 700), 1);
    EXPECT_EQ(ChooseWindowScale(144, 2880, 1600, 800, 700), 1) << "1.5 x stays single size";
    EXPECT_EQ(ChooseWindowScale(192, 3840, 2100, 800, 700), 2);
    EXPECT_EQ(ChooseWindowScale(192, 1920, 1040, 800, 700), 1) << "double would not fit";
    EXPECT_EQ(ChooseWindowScale(288, 5120, 2800, 800, 700), 3);
    EXPECT_EQ(ChooseWindowScale(288, 3840, 2100, 800, 700), 3);
    EXPECT_EQ(ChooseWindowScale(288, 3000, 2000, 800, 700), 2);
    EXPECT_EQ(ChooseWindowScale(192, 0, 0, 800, 700), 2) << "unknown area: density alone";
    EXPECT_EQ(ChooseWindowScale(2000, 0, 0, 800, 700), 4) << "capped";
    EXPECT_EQ(ChooseWindowScale(std::numeric_limits<float>::infinity(), 0, 0, 800, 700), 4);
    EXPECT_EQ(ChooseWindowScale(std::numeric_limits<float>::quiet_NaN(), 0, 0, 800, 700), 1);
    EXPECT_EQ(ChooseWindowScale(0, 3840, 2100, 800, 700), 1) << "unknown density";
    EXPECT_EQ(ChooseWindowScale(-1, 3840, 2100, 800, 700), 1);
}

TEST_F(EngineTest, AWiderWindowShowsTheGameScaledWithBarsAtTheSides) {
    SDL_Window* window = TheWindow();
    ASSERT_NE(window, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 700);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Quorvel Veltrane Sudoku");
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);

    SDL_SetWindowSize(window, 1000, 700);
    DrainEvents();
    DrawScene([&] {
        Quad red = MakeQuad(0, 0, 800, 700, 0xFFEE0000);
        gk->Gfx_RenderQuad(&red);
    });
    // Game pixels still run 0..799; the corners are red, the captured frame has bars.
    EXPECT_TRUE(Near(Pixel(0, 0), 0xFFEE0000, 2));
    EXPECT_TRUE(Near(Pixel(799, 699), 0xFFEE0000, 2));
    // The saved frame is the whole window: the game in the middle, black bars of 100 pixels.
    ASSERT_TRUE(gkSdlSaveScreenshot(temp.File("wide.png").c_str()));
    SDL_Surface* saved = IMG_Load(temp.File("wide.png").c_str());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->w, 1000);
    EXPECT_EQ(saved->h, 700);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(saved, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(saved);
    ASSERT_NE(argb, nullptr);
    auto at = [argb](int x, int y) {
        return static_cast<const std::uint32_t*>(argb->pixels)[y * argb->pitch / 4 + x];
    };
    EXPECT_TRUE(Near(at(50, 350), 0xFF000000, 0));
    EXPECT_TRUE(Near(at(950, 350), 0xFF000000, 0));
    EXPECT_TRUE(Near(at(101, 350), 0xFFEE0000, 2));
    EXPECT_TRUE(Near(at(898, 350), 0xFFEE0000, 2));
    SDL_FreeSurface(argb);

    // A click at the window's middle lands in the game's middle.
    const SDL_FPoint seen = ClickSeenInTheGame(gk, window, 500, 350);
    EXPECT_NEAR(seen.x, 400, 1);
    EXPECT_NEAR(seen.y, 350, 1);
}

// Full screen after start: a borderless window at the desktop's resolution with the
// game scaled into it (proportions kept, mouse mapped back), and back to the window.
TEST_F(EngineTest, WindowedFalseSwitchesToTheDesktopsFullScreenAndTrueBack) {
    SDL_Window* window = TheWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window), &desktop), 0);

    gk->System_SetState(GK_WINDOWED, false);
    DrainEvents();
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP});
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, desktop.w);
    EXPECT_EQ(height, desktop.h);
    DrawScene([&] {
        Quad red = MakeQuad(0, 0, 800, 700, 0xFFEE0000);
        gk->Gfx_RenderQuad(&red);
    });
    EXPECT_TRUE(Near(Pixel(0, 0), 0xFFEE0000, 2));
    EXPECT_TRUE(Near(Pixel(799, 699), 0xFFEE0000, 2));
    // A click at the screen's middle lands in the game's middle.
    const SDL_FPoint seen = ClickSeenInTheGame(gk, window, desktop.w / 2, desktop.h / 2);
    EXPECT_NEAR(seen.x, 400, 1);
    EXPECT_NEAR(seen.y, 350, 1);

    gk->System_SetState(GK_WINDOWED, true);
    DrainEvents();
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 700);
}
