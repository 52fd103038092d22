// Frame timing: the delta between frames from SDL's performance counter, and
// the pause at the end of a frame that keeps the loop from spinning a core when
// presenting does not wait for the display (no vsync). Owns only time stamps.
#pragma once

#include <SDL.h>

class FrameClock {
public:
    // Frame rate kept when the display's refresh rate is unknown.
    static constexpr int kDefaultRefreshRate = 60;
    // Time left to presenting when it waits for the display: a driver that reports
    // vsync but does not wait then still runs at most about 1.2 x the refresh rate.
    static constexpr double kVsyncMarginSeconds = 0.003;

    // The display's refresh rate (Hz; 0 or implausible values mean unknown), and
    // whether presenting waits for it.
    void SetPacing(int refreshRate, bool vsync);

    // Marks the loop's start: the first delta is the (short) time until the first Tick.
    void Start();
    // At a frame's start: seconds since the previous frame's start.
    float Tick();
    float Delta() const { return delta; }
    // Seconds on SDL's performance counter.
    static double Now();
    // At a frame's end: sleeps until the frame has lasted its share of a second.
    void WaitForNextFrame() const;
    double FrameSeconds() const { return frameSeconds; }

private:
    double frameSeconds = 1.0 / kDefaultRefreshRate;
    Uint64 frameStart = 0;
    float delta = 0.0f;
};
