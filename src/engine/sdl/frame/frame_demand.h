// When the frame loop runs its next frame. While frames change what is drawn,
// input comes or the game asks for a frame at once, frames run at the display's
// rate. After kStillFrames frames in a row that drew exactly what was on screen,
// with no input and no such request, the loop waits: for input (or a wake-up) or
// for the earliest deadline the game asked for in the last frame. A frame run out
// of that wait without input leaves the loop waiting even when it draws something
// new (the game asked for it: its clock's next second, a worker's result), unless
// the game then asks for frames at once. Pure: times are seconds on any steady
// clock. Owns its counters.
#pragma once

#include <limits>

class FrameDemand {
public:
    static constexpr int kStillFrames = 3;
    static constexpr double kNoDeadline = std::numeric_limits<double>::infinity();

    // During a frame: the game asks for a frame within seconds of now.
    void Ask(double now, double seconds);
    // The frame ended at now. drewNew: its scene differs from the one before; input:
    // input came for it; period: the display's frame time (a frame asked for within
    // it keeps frames running).
    void FrameEnded(double now, bool drewNew, bool input, double period);
    // True when the loop waits for input, a wake-up or the deadline.
    bool Waiting() const { return still >= kStillFrames; }
    // When the waiting loop runs its next frame by itself; kNoDeadline for never.
    double Deadline() const { return deadline; }

private:
    int still = 0;                   // frames in a row that needed no next frame
    double asked = kNoDeadline;      // the earliest request of the running frame
    double deadline = kNoDeadline;   // the earliest request of the last frame
};
