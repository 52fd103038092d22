// veltrane-pacing: measures the game as a player runs it, on the real engine:
// the time from start to the first frame on screen; while it idles in the main
// menu and on the play screen, the CPU the whole process uses and its wake-ups a
// second (the context switches of all its threads, from /proc), with its frame
// rate and the frame deltas the engine reports (mean and longest); the latency
// from a key's input event to the present of the frame that answered it (median
// and p90 over 50 keys, a key every 150 ms, pushed by a thread of the tool and
// moving the keyboard cell); the cost of an active play frame (the value ring
// open, the pointer moved every frame, the same-value tint on): the game's own
// CPU time per frame for update plus render (median and p99) and the heap
// allocations per frame after the first second, and its peak memory.
// Allocations are counted by this tool's replacement of the global operator new.
// With companions to decode for a scaled-up output, also the time until the first frame
// drawn with them.
// Usage: veltrane-pacing [seconds-per-screen] [--full-screen]   (default 10)
// With --changes it instead plays a Hard game in which every frame changes a note
// (so every frame saves the game), optionally after a history of that many steps,
// and prints the frame thread's wall-clock time per frame (update plus render):
//        veltrane-pacing --changes [seconds] [history-steps]   (default 5, 0)
//        veltrane-pacing --process PID [seconds]: the idle figures of another
//        program (a peer game, measured the same way while it idles).
//        veltrane-pacing --puzzle FILE: the first frame of `veltrane-sudoku FILE` and
//        the first frame of the file's game on the play screen.
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
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "app/screens/menus.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine/sdl/sdl_engine.h"
#include "play/session/move.h"
#include "pushed_events.h"
#include "save/settings.h"
#include "seeded_game.h"
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
                const Cell& cell = p.view.cells[i][j];
                p.picker->OpenOn(i, j, cell.x, cell.y);
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

// What each thread of a process has cost so far: processor seconds (from
// task/*/schedstat, in nanoseconds) and context switches, voluntary or not (from
// task/*/status): each is a time a thread went to sleep or was taken off the
// processor, so their rate is the process's wake-ups. Kept per thread, so that a
// thread that ends between two readings drops out of both.
struct ProcessCost {
    struct Thread {
        double cpuSeconds = 0;
        long long switches = 0;
    };
    std::map<std::string, Thread> threads;

    static ProcessCost Of(const std::string& pid) {
        ProcessCost cost;
        std::error_code error;
        for (const auto& task : std::filesystem::directory_iterator("/proc/" + pid + "/task", error)) {
            Thread& thread = cost.threads[task.path().filename().string()];
            std::ifstream schedstat(task.path() / "schedstat");
            double nanoseconds = 0;
            if (schedstat >> nanoseconds) thread.cpuSeconds = nanoseconds / 1e9;
            std::ifstream status(task.path() / "status");
            for (std::string line; std::getline(status, line);) {
                if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                    thread.switches += std::atoll(line.c_str() + line.find(':') + 1);
            }
        }
        return cost;
    }
    // What the threads living at `later` cost since this reading (all of it for new ones).
    Thread Since(const ProcessCost& later) const {
        Thread spent;
        for (const auto& [tid, now] : later.threads) {
            const auto before = threads.find(tid);
            const Thread start = before == threads.end() ? Thread{} : before->second;
            spent.cpuSeconds += now.cpuSeconds - start.cpuSeconds;
            spent.switches += now.switches - start.switches;
        }
        return spent;
    }
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Prints the CPU and wake-ups of a process between two readings wall seconds apart.
void ReportIdleCost(const char* name, const ProcessCost& from, const ProcessCost& to, double wall) {
    const ProcessCost::Thread spent = from.Since(to);
    std::printf("%s_cpu_percent %.3f\n", name, 100.0 * spent.cpuSeconds / wall);
    std::printf("%s_wakeups_per_second %.2f (%.1f s, %zu threads)\n", name, static_cast<double>(spent.switches) / wall,
                wall, to.threads.size());
}

// One measured stretch of idling: the process's cost over wall seconds, the frames
// run and the frame deltas the engine reported for them.
struct Window {
    Clock::time_point start;
    ProcessCost costStart;
    int frames = 0;
    double deltaSum = 0, deltaMax = 0;
    void Begin() {
        start = Clock::now();
        costStart = ProcessCost::Of("self");
        frames = 0;
        deltaSum = deltaMax = 0;
    }
    void CountFrame(float delta) {
        ++frames;
        deltaSum += delta;
        if (delta > deltaMax) deltaMax = delta;
    }
    double Elapsed() const { return Seconds(Clock::now() - start); }
    // A still screen runs frames only when asked: one comes when the window is over.
    bool AskForItsEnd(GK& gk, double seconds) const {
        gk.System_NextFrameWithin(static_cast<float>(seconds - Elapsed()));
        return false;
    }
    void Report(const char* name) const {
        const double wall = Elapsed();
        ReportIdleCost(name, costStart, ProcessCost::Of("self"), wall);
        std::printf("%s_frames %d (%.1f fps)\n", name, frames, frames / wall);
        if (frames > 0) {
            std::printf("%s_frame_delta_ms mean %.2f, longest %.2f (60 fps is 16.67)\n", name,
                        1000.0 * deltaSum / frames, 1000.0 * deltaMax);
        }
    }
};


// The frame thread's wall-clock time per frame, from the start of the frame callback
// to the end of the game's drawing.
void ReportFrameTimes(const char* name, std::vector<double>& ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) { return ms[static_cast<std::size_t>(q * (ms.size() - 1))]; };
    std::printf("%s_ms median %.3f p99 %.3f max %.3f (%zu frames)\n", name, at(0.5), at(0.99), ms.back(),
                ms.size());
}

// The free cell whose note changes in frame n: the free cells in turn.
CellRef FreeCellOfFrame(const SudokuBoard& board, int n) {
    std::vector<CellRef> free;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if (!board.IsGiven(i, j)) free.push_back({i, j});
    return free.empty() ? CellRef{} : free[static_cast<std::size_t>(n) % free.size()];
}

// --changes: every frame of a Hard game toggles a note (one step, one save).
int MeasureChangingFrames(double seconds, long historySteps) {
    char folder[] = "/tmp/veltrane-pacing-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    CreateFrameLock();
    std::vector<double> wallMs, cpuMs;
    Clock::time_point frameStart;
    double cpuStart = 0;
    bool measuring = false;
    Clock::time_point begun;
    int calls = 0;
    RunOptions options;
    options.saveDirectory = std::string(folder) + "/";
    options.frameHook = [&] {
        Program& p = TheProgram();
        if (++calls == 1) {
            SeedRandom(1);
            if (!p.board.NewGame(Hard)) return true;
            BuildBoardView();
            p.aids.ResetForGame();
            for (long k = 0; k < historySteps; ++k) {
                const CellRef c = FreeCellOfFrame(p.board, static_cast<int>(k));
                ToggleNote(p.aids.EditOf(p.board), c.row, c.column, 1 + static_cast<int>(k % 16));
            }
            ShowMainMenu(false);
            GoToState(Playing);
            begun = Clock::now();
            return false;
        }
        if (Seconds(Clock::now() - begun) >= seconds) return true;
        frameStart = Clock::now();
        cpuStart = ThreadCpuMs();
        measuring = true;
        const CellRef c = FreeCellOfFrame(p.board, calls);
        ToggleNote(p.aids.EditOf(p.board), c.row, c.column, 1 + calls % 16);
        return false;
    };
    options.sceneHook = [&] {
        if (!measuring) return;
        measuring = false;
        wallMs.push_back(1000.0 * Seconds(Clock::now() - frameStart));
        cpuMs.push_back(ThreadCpuMs() - cpuStart);
    };
    RunGame(options);
    std::printf("history_steps_before %ld\n", historySteps);
    ReportFrameTimes("changing_frame_wall", wallMs);
    ReportFrameTimes("changing_frame_cpu", cpuMs);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return wallMs.empty() ? 1 : 0;
}

double CounterSeconds() {
    return static_cast<double>(SDL_GetPerformanceCounter()) / static_cast<double>(SDL_GetPerformanceFrequency());
}

// Key-to-present latency: a thread of its own presses an arrow key every 150 ms
// (Right and Left in turn), noting the time just before it hands the events to SDL;
// the frame that sees the key presses notes how many frames were shown, and the
// frame after it reads when the key's frame was presented.
struct KeyLatency {
    static constexpr int kKeys = 50;
    std::mutex mutex;
    std::vector<double> pushedAt;  // guarded by mutex
    std::thread pusher;
    int keysSeen = 0;
    int answering = -1;  // the key whose frame ran last, waiting for its present
    int shownBefore = 0;
    std::vector<double> latencyMs;

    void Start() {
        pusher = std::thread([this] {
            for (int i = 0; i < kKeys; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    pushedAt.push_back(CounterSeconds());
                }
                PushKey(i % 2 == 0 ? SDLK_RIGHT : SDLK_LEFT);
            }
        });
    }
    // Called at each frame's start; true once every key has been answered (or the
    // keys are over and nothing came for a second).
    bool Frame(GK& gk) {
        if (answering >= 0 && gkSdlFramesShown() > shownBefore) {
            std::lock_guard<std::mutex> lock(mutex);
            latencyMs.push_back(1000.0 * (gkSdlLastPresentSeconds() - pushedAt[answering]));
        }
        answering = -1;
        int presses = 0;
        gk.Input_GetKeyPresses(&presses);
        if (presses > 0 && keysSeen < kKeys) {
            answering = keysSeen++;
            shownBefore = gkSdlFramesShown();
        }
        if (keysSeen == kKeys && answering < 0) return true;
        std::lock_guard<std::mutex> lock(mutex);
        return pushedAt.size() == kKeys && CounterSeconds() > pushedAt.back() + 1.0;
    }
    void Report() {
        if (pusher.joinable()) pusher.join();
        std::sort(latencyMs.begin(), latencyMs.end());
        if (latencyMs.empty()) return;
        const auto at = [this](double q) { return latencyMs[static_cast<std::size_t>(q * (latencyMs.size() - 1))]; };
        std::printf("key_to_present_ms median %.2f p90 %.2f max %.2f (%d of %d keys seen, %zu presented)\n",
                    at(0.5), at(0.9), latencyMs.back(), keysSeen, kKeys, latencyMs.size());
    }
};

// The idle figures of another process over the given seconds.
int MeasureProcess(const std::string& pid, double seconds) {
    if (!std::filesystem::exists("/proc/" + pid + "/task")) {
        std::fprintf(stderr, "veltrane-pacing: no process %s\n", pid.c_str());
        return 1;
    }
    const ProcessCost from = ProcessCost::Of(pid);
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    ReportIdleCost("process_idle", from, ProcessCost::Of(pid), Seconds(Clock::now() - start));
    return 0;
}

// --puzzle FILE: starts as `veltrane-sudoku FILE` does and prints the time from start
// to the first frame shown and to the first frame of the file's game on the play screen.
int MeasurePuzzleStart(const std::string& path, Clock::time_point started) {
    char folder[] = "/tmp/veltrane-pacing-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    RunOptions options;
    options.saveDirectory = std::string(folder) + "/";
    std::string error;
    if (!SetStartPuzzleFile(options, path, error)) {
        std::fprintf(stderr, "veltrane-pacing: %s\n", error.c_str());
        return 2;
    }
    CreateFrameLock();
    int calls = 0;
    bool playing = false;
    options.frameHook = [&] {
        Program& p = TheProgram();
        p.gk->System_NextFrameWithin(0);
        // A call comes after the frame before it was drawn and shown.
        if (++calls == 2) std::printf("first_frame_ms %.1f\n", 1000.0 * Seconds(Clock::now() - started));
        if (playing) {
            std::printf("puzzle_shown_ms %.1f\n", 1000.0 * Seconds(Clock::now() - started));
            return true;
        }
        playing = p.GameState == Playing;
        return Seconds(Clock::now() - started) > 120.0;
    };
    RunGame(options);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return playing ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--changes")
        return MeasureChangingFrames(argc > 2 ? std::atof(argv[2]) : 5.0, argc > 3 ? std::atol(argv[3]) : 0);
    const auto started = Clock::now();
    if (argc > 2 && std::strcmp(argv[1], "--puzzle") == 0) return MeasurePuzzleStart(argv[2], started);
    if (argc > 2 && std::strcmp(argv[1], "--process") == 0)
        return MeasureProcess(argv[2], argc > 3 ? std::atof(argv[3]) : 10.0);
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
        std::fputs("usage: veltrane-pacing [seconds-per-screen] [--full-screen] | --process PID [seconds]\n", stderr);
        return 2;
    }
    char folder[] = "/tmp/veltrane-pacing-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    if (fullScreen) std::ofstream(std::string(folder) + "/" + SettingsFileName) << "full-screen=on\n";
    CreateFrameLock();

    enum Phase { FirstFrame, SettleMenu, Menu, EnterPlay, SettlePlay, Play, Keys, Active, Done } phase = FirstFrame;
    // Before an idle window: the screen's entry, its last frames, the sound device's sleep.
    constexpr double kSettleSeconds = 2.0;
    Window window;
    KeyLatency keys;
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
                p.gk->System_NextFrameWithin(0);
                if (calls == 2) {
                    std::printf("first_frame_ms %.1f\n", 1000.0 * Seconds(Clock::now() - started));
                    companionsWaited = gkSdlCompanionsPending();
                    phase = SettleMenu;
                    window.Begin();
                }
                return false;
            case SettleMenu:  // the menu's enter animation and the frames after it
                if (window.Elapsed() < kSettleSeconds) return window.AskForItsEnd(*p.gk, kSettleSeconds);
                phase = Menu;
                window.Begin();
                return window.AskForItsEnd(*p.gk, seconds);
            case Menu:
                if (companionsWaited && !gkSdlCompanionsPending()) {
                    // This frame comes after the first one drawn with them.
                    std::printf("companions_drawn_ms %.1f\n", 1000.0 * Seconds(Clock::now() - started));
                    companionsWaited = false;
                }
                window.CountFrame(p.gk->Timer_GetDelta());
                if (window.Elapsed() < seconds) return window.AskForItsEnd(*p.gk, seconds);
                window.Report("menu_idle");
                if (!PlaySeededGame(1, Hard)) return true;
                phase = EnterPlay;
                return false;
            case EnterPlay:
                window.Begin();
                phase = SettlePlay;
                return window.AskForItsEnd(*p.gk, kSettleSeconds);
            case SettlePlay:
                if (window.Elapsed() < kSettleSeconds) return window.AskForItsEnd(*p.gk, kSettleSeconds);
                phase = Play;
                window.Begin();
                return window.AskForItsEnd(*p.gk, seconds);
            case Play:
                window.CountFrame(p.gk->Timer_GetDelta());
                if (window.Elapsed() < seconds) return window.AskForItsEnd(*p.gk, seconds);
                window.Report("play_idle");
                keys.Start();
                phase = Keys;
                return false;
            case Keys:
                if (!keys.Frame(*p.gk)) return false;
                keys.Report();
                p.aids.settings.sameValueHighlight = true;
                OpenRingNearTheMiddle(p);
                PushMouseEnter();
                phase = Active;
                window.Begin();
                return false;
            case Active: {
                int x = 0, y = 0;
                PointerAt(++window.frames, &x, &y);
                PushMouse(x, y);  // read by the engine at the next frame
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
    if (keys.pusher.joinable()) keys.pusher.join();  // the run ended before the keys did
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return phase == Done ? 0 : 1;
}
