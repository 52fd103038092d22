#include "engine/sdl/display_loss.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstring>

namespace {

DisplayLossWatch::Action lostAction = nullptr;

// Nothing of the process's clean-up may run: it would wait on the dead connection.
int EndOnLostDisplay(Display* /*display*/) {
    if (lostAction != nullptr) lostAction();
    static const char line[] = "Quorvel Veltrane Sudoku: lost the connection to the display; the game is saved\n";
    const ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
    static_cast<void>(written);  // nothing more can be done about standard error now
    _exit(1);
}

}  // namespace

DisplayLossWatch::DisplayLossWatch(Action action) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
    lostAction = action;
    previous = XSetIOErrorHandler(EndOnLostDisplay);
    installed = true;
}

DisplayLossWatch::~DisplayLossWatch() {
    if (!installed) return;
    XSetIOErrorHandler(previous);
    lostAction = nullptr;
}
