// Losing the X display. When the connection to the X server breaks (the server
// crashed, the session ended, an ssh -X link dropped), Xlib calls its fatal IO
// error handler and then exit(); exit's clean-up would close the window over the
// dead connection and spin there for ever. While a DisplayLossWatch lives, the
// handler is this one: it calls the action it was given (the engine's: a log
// line and the game's save), writes one line to standard error and ends the
// process with _exit(1). The ending is certain:
// - the first thread to find the connection gone does the ending; any other that
//   finds it too waits for the process to end;
// - should the action not come back (it waits for a thread that waits for the
//   display), the process still ends, with its line, a few seconds later;
// - a child process of the game (the system message box runs in one) inherits the
//   handler: there it ends the child at once, without the action, which belongs to
//   the game's own process;
// - a thread watching the connection (WatchConnection) ends the game when the
//   server hangs up while no X call is made to find out (the frame thread waits for
//   the frame lock, say), after a grace period in which the frame thread's own X
//   call normally finds it first.
// The destructor puts back the handler that was there before. With another video
// driver than X11 the watch does nothing.
//
// The action is the one piece of state shared with the handler: Xlib passes the
// handler no context.
#pragma once

#include <thread>

struct _XDisplay;

class DisplayLossWatch {
public:
    using Action = void (*)();
    // Watches when SDL's video driver is X11; action may be null.
    explicit DisplayLossWatch(Action action);
    ~DisplayLossWatch();
    DisplayLossWatch(const DisplayLossWatch&) = delete;
    DisplayLossWatch& operator=(const DisplayLossWatch&) = delete;

    // Starts watching the X connection's socket for the server's hang-up (once).
    void WatchConnection(_XDisplay* display);
    // Ends that watch; before the connection is closed.
    void StopWatchingConnection();

private:
    using Handler = int (*)(_XDisplay*);
    bool installed = false;
    Handler previous = nullptr;
    int stopPipe[2] = {-1, -1};
    std::thread hangUpWatch;
};

// What the handler does once the display is gone, on whichever thread found it: see
// above. In a child process of the game it ends the child at once with status 1.
[[noreturn]] void EndAfterLostDisplay(DisplayLossWatch::Action action);
