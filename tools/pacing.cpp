// veltrane-pacing: measures the game as a player runs it, on the real engine:
// the time from start to the first frame on screen, the CPU the game uses while
// it idles in the main menu and on the play screen with its frame rate and the
// frame deltas the engine reports (mean and longest), the cost of an active play
// frame (the value ring open, the pointer moved every frame, the same-value tint
// on): the game's own CPU time per frame for update plus render (median and p99)
// and the heap allocations per frame after the first second, and its peak memory.
// Allocations are counted by this tool's replacement of the global operator new.
// With companions to decode for a scaled-up output, also the time until the first frame
// drawn with them.
// Usage: veltrane-pacing [seconds-per-screen] [--full-screen]   (default 10)
// Run it under a display (or Xvfb, or SDL_VIDEODRIVER=dummy); it keeps its saved
// game and settings in a temporary folder. --full-screen starts the game full screen,
// as the player's setting does (the first frame is then drawn at the display's size).
#include <SDL.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "app/menus.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine/sdl/sdl_engine.h"
#include "save/settings.h"
#include "sudoku/generator.h"

namespace {

// Heap allocations through operator new while counting is on.
std::atomic<bool> countAllocations{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
    if (countAllocations.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void PushPointer(int x, int y) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = x;
    motion.motion.y = y;
    SDL_PushEvent(&motion);
}

void PushPointerEnter() {
    SDL_Event enter{};
    enter.type = SDL_WINDOWEVENT;
    enter.window.event = SDL_WINDOWEVENT_ENTER;
    SDL_PushEvent(&enter);
}

// The pointer's place in frame n: sweeps the board line by line, over cells, givens and ring items.
void PointerAt(int n, int* x, int* y) {
    const int step = 7 * n;
    *x = 160 + step % 480;
    *y = 110 + (step / 480 * 31) % 480;
}

// Opens the value ring on a free cell near the middle of the board.
void OpenRingNearTheMiddle(Program& p) {
    for (int i = 7; i < 16; ++i)
        for (int j = 7; j < 16; ++j)
            if (!p.board.IsGiven(i, j)) {
                const Cell& cell = p.View.cells[i][j];
                p.Picker->OpenOn(i, j, cell.x, cell.y);
                return;
            }
}

// Game CPU per active frame (update plus render), and allocations, after the first second.
struct ActiveFrames {
    std::vector<double> costMs;
    double started = 0;         // thread CPU ms when the frame's update began
    int firstCountedFrame = 0;  // the first frame whose allocations count

    void Report(long allocationsCounted, int framesCounted) {
        std::sort(costMs.begin(), costMs.end());
        const auto at = [this](double q) { return costMs[static_cast<std::size_t>(q * (costMs.size() - 1))]; };
        if (costMs.empty()) return;
        std::printf("active_frame_cpu_ms median %.3f p99 %.3f max %.3f (%zu frames)\n", at(0.5), at(0.99),
                    costMs.back(), costMs.size());
        std::printf("active_allocations_per_frame %.2f (%ld over %d frames after the first second)\n",
                    framesCounted ? static_cast<double>(allocationsCounted) / framesCounted : 0.0,
                    allocationsCounted, framesCounted);
    }
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One measured stretch of idling: CPU seconds over wall seconds, the frames run and
// the frame deltas the engine reported for them.
struct Window {
    Clock::time_point start;
    double cpuStart = 0;
    int frames = 0;
    double deltaSum = 0, deltaMax = 0;
    void Begin() {
        start = Clock::now();
        cpuStart = CpuSeconds();
        frames = 0;
        deltaSum = deltaMax = 0;
    }
    void CountFrame(float delta) {
        ++frames;
        deltaSum += delta;
        if (delta > deltaMax) deltaMax = delta;
    }
    double Elapsed() const { return Seconds(Clock::now() - start); }
    void Report(const char* name) const {
        const double wall = Elapsed();
        std::printf("%s_cpu_percent %.1f (%.1f s, %d frames, %.1f fps)\n", name,
                    100.0 * (CpuSeconds() - cpuStart) / wall, wall, frames, frames / wall);
        if (frames > 0) {
            std::printf("%s_frame_delta_ms mean %.2f, longest %.2f (60 fps is 16.67)\n", name,
                        1000.0 * deltaSum / frames, 1000.0 * deltaMax);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    const auto started = Clock::now();
    double seconds = 10.0;
    bool fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full-screen") == 0) {
            fullScreen = true;
        } else {
            seconds = std::atof(argv[i]);
        }
    }
    if (seconds <= 0) {
        std::fputs("usage: veltrane-pacing [seconds-per-screen] [--full-screen]\n", stderr);
        return 2;
    }
    char folder[] = "/tmp/veltrane-pacing-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    if (fullScreen) std::ofstream(std::string(folder) + "/" + SettingsFileName) << "full-screen=on\n";
    CreateFrameLock();

    enum Phase { FirstFrame, Menu, EnterPlay, Play, Active, Done } phase = FirstFrame;
    Window window;
    ActiveFrames active;
    active.costMs.reserve(100000);
    int calls = 0;
    bool companionsWaited = false;
    RunOptions options;
    options.saveDirectory = std::string(folder) + "/";
    options.frameHook = [&] {
        ++calls;
        Program& p = TheProgram();
        switch (phase) {
            case FirstFrame:
                // The second call comes after the first frame was drawn and shown.
                if (calls == 2) {
                    std::printf("first_frame_ms %.1f\n", 1000.0 * Seconds(Clock::now() - started));
                    companionsWaited = gkSdlCompanionsPending();
                    phase = Menu;
                    window.Begin();
                }
                return false;
            case Menu:
                if (companionsWaited && !gkSdlCompanionsPending()) {
                    // This frame comes after the first one drawn with them.
                    std::printf("companions_drawn_ms %.1f\n", 1000.0 * Seconds(Clock::now() - started));
                    companionsWaited = false;
                }
                window.CountFrame(p.gk->Timer_GetDelta());
                if (window.Elapsed() < seconds) return false;
                window.Report("menu_idle");
                SeedRandom(1);
                if (!p.board.NewGame(Hard)) return true;
                // As the menus enter a new game: the menu's items leave the GUI.
                BuildBoardView();
                p.Aids.ResetForGame();
                ShowMainMenu(false);
                GoToState(Playing);
                phase = EnterPlay;
                return false;
            case EnterPlay:
                phase = Play;
                window.Begin();
                return false;
            case Play:
                window.CountFrame(p.gk->Timer_GetDelta());
                if (window.Elapsed() < seconds) return false;
                window.Report("play_idle");
                p.Aids.settings.sameValueHighlight = true;
                OpenRingNearTheMiddle(p);
                PushPointerEnter();
                phase = Active;
                window.Begin();
                return false;
            case Active: {
                int x = 0, y = 0;
                PointerAt(++window.frames, &x, &y);
                PushPointer(x, y);  // read by the engine at the next frame
                const double elapsed = window.Elapsed();
                if (elapsed < 1.0) active.firstCountedFrame = window.frames + 1;
                countAllocations = elapsed >= 1.0;
                if (elapsed < seconds) {
                    active.started = ThreadCpuMs();
                    return false;
                }
                countAllocations = false;
                active.Report(allocations.load(), window.frames - active.firstCountedFrame);
                phase = Done;
                return true;
            }
            case Done:
                return true;
        }
        return true;
    };
    options.sceneHook = [&] {
        if (phase == Active && active.started > 0) active.costMs.push_back(ThreadCpuMs() - active.started);
        active.started = 0;
    };
    RunGame(options);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return phase == Done ? 0 : 1;
}
