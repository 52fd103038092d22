// Ending the program by signal: while a StopSignals object lives, SIGTERM,
// SIGINT and SIGHUP only set a flag that the engine's frame loop reads at its
// next frame, so the game shuts down (and saves) as for "Exit"; a wait for the
// frame lock gives up when it sees the flag. A second signal of the same
// kind acts as it would without the game (the handler resets itself), so a
// stuck program can still be stopped. The destructor restores the handlers
// that were there before and clears the flag. The flag is the one piece of
// state shared with the signal handler.
#pragma once

#include <signal.h>

class StopSignals {
public:
    StopSignals();   // installs the handlers and clears the flag
    ~StopSignals();  // restores the handlers and clears the flag
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The number of the signal that asked the program to stop; 0 for none.
    static int Requested();

private:
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction previous[3] = {};
};
