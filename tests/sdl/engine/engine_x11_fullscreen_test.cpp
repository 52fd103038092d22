// Full screen on an X server without a window manager (a private Xvfb, skipped where
// Xvfb is not installed): the engine's full-screen window covers the whole screen,
// rather than keeping its 800 x 700 and showing part of the picture.
#include <SDL.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "engine/sdl/video/window_fit.h"
#include "sdl/engine_test_fixture.h"

namespace {

// Starts an Xvfb on a display number it picks itself, listening on no file socket and
// writing no lock file; returns ":N", or empty text when none starts.
std::string StartXvfb(pid_t* server) {
    int ends[2];
    if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(ends) != 0) return std::string();
    *server = fork();
    if (*server == 0) {
        const std::string fd = std::to_string(ends[1]);
        execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
              "tcp", "-nolisten", "unix", "-nolock", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    // The number comes once the server takes connections, its line feed written apart:
    // the pipe stays open until that has come.
    std::string number;
    pollfd ready{ends[0], POLLIN, 0};
    char c = 0;
    while (*server > 0 && poll(&ready, 1, 10000) == 1 && read(ends[0], &c, 1) == 1 && c != '\n') number += c;
    close(ends[0]);
    return c == '\n' ? ":" + number : std::string();
}

}  // namespace

TEST(EngineOnXWithoutWindowManager, FullScreenCoversTheWholeScreen) {
    pid_t server = -1;
    const std::string display = StartXvfb(&server);
    if (display.empty()) {
        if (server > 0) kill(server, SIGTERM), waitpid(server, nullptr, 0);
        GTEST_SKIP() << "no Xvfb to run an X server without a window manager";
    }
    // The hint outranks the dummy driver the tests are started with.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    const char* oldDisplay = std::getenv("DISPLAY");
    const bool hadDisplay = oldDisplay != nullptr;
    const std::string previousDisplay = hadDisplay ? oldDisplay : "";
    setenv("DISPLAY", display.c_str(), 1);
    TempFolder temp;
    GK* gk = gkCreate(GK_VERSION);
    ASSERT_NE(gk, nullptr);
    gk->System_SetState(GK_LOGFILE, temp.File("engine.log").c_str());
    gk->System_SetState(GK_WINDOWED, true);
    EXPECT_TRUE(gk->System_Initiate()) << ReadFile(temp.File("engine.log"));
    gk->System_SetState(GK_WINDOWED, false);
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 100 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
    EXPECT_TRUE(window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0);
    // Had the engine left the window at its size, this would move and resize it now.
    EXPECT_FALSE(CoverDisplayWithoutWindowManager(window)) << "the window does not cover the screen";
    gk->System_Shutdown();
    gk->Release();
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (hadDisplay) setenv("DISPLAY", previousDisplay.c_str(), 1);
    if (!hadDisplay) unsetenv("DISPLAY");
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
}
