#include "engine/sdl/video/display_loss.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/forked_children.h"

namespace {

// The time the action has to save the game before the process ends without it.
constexpr unsigned kSaveGraceSeconds = 3;
// The time the frame thread has to find a hang-up by itself.
constexpr int kFindGraceMs = 1000;

DisplayLossWatch::Action lostAction = nullptr;

void WriteLostLine() {
    static const char line[] =
        "Quorvel Veltrane Sudoku: lost the connection to the display; the game is saved\n";
    const ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
    static_cast<void>(written);  // nothing more can be done about standard error now
}

// Ends the process should the save not come back in time.
void StartSaveDeadline() {
    try {
        std::thread([] {
            ::sleep(kSaveGraceSeconds);
            WriteLostLine();
            _exit(1);
        }).detach();
    } catch (...) {
        // no thread to be had: the save runs without a deadline
    }
}

// Nothing of the process's clean-up may run: it would wait on the dead connection.
int EndOnLostDisplay(Display* /*display*/) {
    EndAfterLostDisplay(lostAction);
}

// Waits until the socket hangs up (true) or the stop pipe is written to (false).
bool WaitForHangUp(int socket, int stop) {
    pollfd watched[2] = {{socket, POLLRDHUP, 0}, {stop, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (watched[1].revents != 0) return false;
        if ((watched[0].revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0) return true;
    }
}

// True when stop was written to within ms.
bool StoppedWithin(int stop, int ms) {
    pollfd watched{stop, POLLIN, 0};
    return ::poll(&watched, 1, ms) > 0;
}

}  // namespace

void EndAfterLostDisplay(DisplayLossWatch::Action action) {
    if (!IsGameProcess()) _exit(1);
    static std::atomic<bool> ending{false};
    if (ending.exchange(true)) {
        for (;;) ::pause();  // the first thread ends the process
    }
    StartSaveDeadline();
    if (action != nullptr) action();
    WriteLostLine();
    _exit(1);
}

DisplayLossWatch::DisplayLossWatch(Action action) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
    GuardForkedChildren();
    lostAction = action;
    previous = XSetIOErrorHandler(EndOnLostDisplay);
    installed = true;
}

DisplayLossWatch::~DisplayLossWatch() {
    StopWatchingConnection();
    if (!installed) return;
    XSetIOErrorHandler(previous);
    lostAction = nullptr;
}

void DisplayLossWatch::WatchConnection(_XDisplay* display) {
    if (!installed || display == nullptr || hangUpWatch.joinable()) return;
    if (::pipe2(stopPipe, O_CLOEXEC) != 0) return;
    const int socket = ConnectionNumber(display);
    const int stop = stopPipe[0];
    hangUpWatch = std::thread([socket, stop] {
        if (!WaitForHangUp(socket, stop) || StoppedWithin(stop, kFindGraceMs)) return;
        EndAfterLostDisplay(lostAction);
    });
}

void DisplayLossWatch::StopWatchingConnection() {
    if (hangUpWatch.joinable()) {
        const char byte = 's';
        const ssize_t written = ::write(stopPipe[1], &byte, 1);
        static_cast<void>(written);  // a full pipe has woken the watch already
        hangUpWatch.join();
    }
    for (int& fd : stopPipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}
