// Losing the X display. When the connection to the X server breaks (the server
// crashed, the session ended, an ssh -X link dropped), Xlib calls its fatal IO
// error handler and then exit(); exit's clean-up would close the window over the
// dead connection and spin there for ever. While a DisplayLossWatch lives, the
// handler is this one: it calls the action it was given (the engine's: a log
// line and the game's save), writes one line to standard error and ends the
// process at once with _exit(1). Xlib calls the handler on the thread whose X call
// failed, which is the engine's frame thread (every SDL video call is made there).
// The destructor puts back the handler that was there before. With another video
// driver than X11 the watch does nothing.
//
// The action is the one piece of state shared with the handler: Xlib passes the
// handler no context.
#pragma once

struct _XDisplay;

class DisplayLossWatch {
public:
    using Action = void (*)();
    // Watches when SDL's video driver is X11; action may be null.
    explicit DisplayLossWatch(Action action);
    ~DisplayLossWatch();
    DisplayLossWatch(const DisplayLossWatch&) = delete;
    DisplayLossWatch& operator=(const DisplayLossWatch&) = delete;

private:
    using Handler = int (*)(_XDisplay*);
    bool installed = false;
    Handler previous = nullptr;
};
