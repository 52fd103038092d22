// The SDL engine's frame loop (System_Start): poll events, the frame callback, the
// render callback, and the wait for the next frame, which sleeps in SDL's event wait
// while the screen is still. Also what ends or wakes the wait: window and quit
// events, the wake-up event of System_WakeFrameLoop and the thread that turns a stop
// signal into one. The loop's state belongs to SdlEngine (sdl_engine_state.h).
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <thread>

#include "engine/sdl/sdl_engine_state.h"

void SdlEngine::System_Start() {
    if (!renderer || running) return;
    if (frameFunc == nullptr) {
        log.Write("System_Start: no frame callback set");
        return;
    }
    running = true;
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window.get());
    const bool known = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0;
    clock.SetPacing(known ? mode.refresh_rate : 0, vsync);
    clock.Start();
    demand = FrameDemand();
    for (;;) {
        SDL_Event first{};
        const bool woken = demand.Waiting() && WaitForEvent(first);
        clock.Tick();
        input.BeginFrame();
        drewNew = false;
        bool inputCame = false;
        if (!PollEvents(woken ? &first : nullptr, inputCame)) break;
        if (const int signal = StopSignals::Requested()) {
            log.Write("Frame loop ended by signal %d", signal);
            break;
        }
        if (frameFunc()) break;
        if (!renderer) break;  // a callback shut the engine down
        if (renderFunc != nullptr) renderFunc();
        LetAudioSleep();
        demand.FrameEnded(clock.Now(), drewNew, inputCame || input.ChangesWaiting(), clock.FrameSeconds());
        if (!demand.Waiting()) clock.WaitForNextFrame();
    }
    running = false;
}

// Sleeps in SDL's event wait until an event comes (input, a wake-up) or the deadline;
// true with the event that ended it, taken out of the queue.
bool SdlEngine::WaitForEvent(SDL_Event& event) const {
    int timeoutMs = -1;  // no deadline: until an event
    if (demand.Deadline() != FrameDemand::kNoDeadline) {
        const double left = demand.Deadline() - clock.Now();
        if (left <= 0) return false;
        timeoutMs = static_cast<int>(std::min(std::ceil(left * 1000.0), static_cast<double>(INT_MAX)));
    }
    return SDL_WaitEventTimeout(&event, timeoutMs) == 1;
}

// The event that ended the wait (when not null), then every event waiting. False when
// the window was closed or the program was asked to quit.
bool SdlEngine::PollEvents(const SDL_Event* first, bool& inputCame) {
    if (first != nullptr && !HandleEvent(*first, inputCame)) return false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (!HandleEvent(event, inputCame)) return false;
    }
    return true;
}

// inputCame: an event other than a wake-up came.
bool SdlEngine::HandleEvent(const SDL_Event& event, bool& inputCame) {
    if (event.type == SDL_QUIT) return false;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) return false;
    if (event.type == SDL_WINDOWEVENT || event.type == SDL_RENDER_TARGETS_RESET ||
        event.type == SDL_RENDER_DEVICE_RESET) {
        redrawNeeded = true;
    }
    if (event.type != wakeEvent) inputCame = true;
    input.Handle(event);
    return true;
}

void SdlEngine::StartStopWatcher() {
    StopSignals* signals = stopSignals.get();
    stopWatcher = std::thread([this, signals] {
        signals->WaitForStop();
        System_WakeFrameLoop();
    });
}

void SdlEngine::StopStopWatcher() {
    if (!stopWatcher.joinable()) return;
    stopSignals->Interrupt();
    stopWatcher.join();
}

void SdlEngine::System_WakeFrameLoop() {
    const Uint32 type = wakeEvent;
    if (type == 0) return;
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}
