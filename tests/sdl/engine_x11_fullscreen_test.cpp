// Full screen on an X server without a window manager (a private Xvfb, skipped where
// Xvfb is not installed): the engine's full-screen window covers the whole screen,
// rather than keeping its 800 x 700 and showing part of the picture.
#include <SDL.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "engine/sdl/window_fit.h"
#include "engine_test_fixture.h"

namespace {

// An Xvfb of its own, on a display number it picks itself, listening on no file
// socket and writing no lock file; ended when this goes.
class PrivateXServer {
public:
    PrivateXServer() {
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        server = fork();
        if (server == 0) {
            close(pipeEnds[0]);
            const std::string fd = std::to_string(pipeEnds[1]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                  "-nolisten", "tcp", "-nolisten", "unix", "-nolock", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        // The number comes when the server accepts connections, ended by a line feed
        // (written apart: the pipe stays open until it has come).
        std::string number;
        pollfd ready{pipeEnds[0], POLLIN, 0};
        char c = 0;
        while (server > 0 && number.size() < 8 && poll(&ready, 1, 10000) == 1 &&
               read(pipeEnds[0], &c, 1) == 1) {
            if (c == '\n') {
                display = ":" + number;
                break;
            }
            number += c;
        }
        close(pipeEnds[0]);
    }
    ~PrivateXServer() {
        if (server <= 0) return;
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    std::string display;  // empty when none could be started

private:
    pid_t server = -1;
};

// Sets an environment variable for its lifetime, then puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name(name) {
        if (const char* old = std::getenv(name)) previous = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (previous) {
            setenv(name, previous->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

}  // namespace

TEST(EngineOnXWithoutWindowManager, FullScreenCoversTheWholeScreen) {
    PrivateXServer x;
    if (x.display.empty()) GTEST_SKIP() << "no Xvfb to run an X server without a window manager";
    const ScopedVariable driver("SDL_VIDEODRIVER", "x11"), display("DISPLAY", x.display);
    TempFolder temp;
    GK* gk = gkCreate(GK_VERSION);
    ASSERT_NE(gk, nullptr);
    gk->System_SetState(GK_LOGFILE, temp.File("engine.log").c_str());
    gk->System_SetState(GK_SCREENWIDTH, 800);
    gk->System_SetState(GK_SCREENHEIGHT, 700);
    gk->System_SetState(GK_WINDOWED, true);
    if (gk->System_Initiate()) {
        gk->System_SetState(GK_WINDOWED, false);
        SDL_Window* window = nullptr;
        for (Uint32 id = 1; id < 100 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
        // Had the engine left the window at its size, this would move and resize it now.
        EXPECT_FALSE(CoverDisplayWithoutWindowManager(window)) << "the window does not cover the screen";
        int width = 0, height = 0;
        SDL_GetWindowSize(window, &width, &height);
        EXPECT_EQ(width, 1280);
        EXPECT_EQ(height, 1024);
    } else {
        ADD_FAILURE() << "the engine does not start on " << x.display << ": "
                      << ReadFile(temp.File("engine.log"));
    }
    gk->System_Shutdown();
    gk->Release();
}
