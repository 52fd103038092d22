// Ending the program by signal: while a StopSignals object lives, SIGTERM,
// SIGINT and SIGHUP only set a flag that the engine's frame loop reads at its
// next frame, so the game shuts down (and saves) as for "Exit"; a wait for the
// frame lock gives up when it sees the flag. A second signal of the same
// kind acts as it would without the game (the handler resets itself), so a
// stuck program can still be stopped. The destructor restores the handlers
// that were there before and clears the flag. The handler also writes a byte
// into a pipe, so that a thread blocked in WaitForStop wakes (the engine's frame
// loop may be waiting for input). The flag and the pipe are the state shared
// with the signal handler.
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
    // Blocks until a stop signal comes or Interrupt is called (from another thread).
    void WaitForStop();
    void Interrupt();

private:
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction previous[3] = {};
};
