#include "engine/sdl/frame/frame_clock.h"

double FrameClock::Now() {
    return static_cast<double>(SDL_GetPerformanceCounter()) / static_cast<double>(SDL_GetPerformanceFrequency());
}

void FrameClock::Start() {
    frameStart = SDL_GetPerformanceCounter();
    delta = 0.0f;
}

float FrameClock::Tick() {
    const Uint64 now = SDL_GetPerformanceCounter();
    const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    delta = static_cast<float>(static_cast<double>(now - frameStart) / frequency);
    frameStart = now;
    return delta;
}

void FrameClock::SetPacing(int refreshRate, bool vsync) {
    const bool plausible = refreshRate >= 30 && refreshRate <= 500;
    const double period = 1.0 / (plausible ? refreshRate : kDefaultRefreshRate);
    // With vsync a frame normally lasts a whole period already (presenting waits),
    // so the pause only acts when the wait did not happen.
    frameSeconds = vsync ? period - kVsyncMarginSeconds : period;
}

void FrameClock::WaitForNextFrame() const {
    const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    const double spent = static_cast<double>(SDL_GetPerformanceCounter() - frameStart) / frequency;
    const double left = frameSeconds - spent;
    if (left > 0.0) SDL_Delay(static_cast<Uint32>(left * 1000.0));
}
