// veltrane-pacing: measures the game as a player runs it, on the real engine:
// the time from start to the first frame on screen, the CPU the game uses while
// it idles in the main menu and on the play screen with its frame rate and the
// frame deltas the engine reports (mean and longest), and its peak memory.
// Usage: veltrane-pacing [seconds-per-screen]   (default 10)
// Run it under a display (or Xvfb, or SDL_VIDEODRIVER=dummy); it keeps its saved
// game in a temporary folder.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/menus.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "sudoku/generator.h"

namespace {

using Clock = std::chrono::steady_clock;

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
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (seconds <= 0) {
        std::fputs("usage: veltrane-pacing [seconds-per-screen]\n", stderr);
        return 2;
    }
    char folder[] = "/tmp/veltrane-pacing-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    CreateFrameLock();

    enum Phase { FirstFrame, Menu, EnterPlay, Play, Done } phase = FirstFrame;
    Window window;
    int calls = 0;
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
                    phase = Menu;
                    window.Begin();
                }
                return false;
            case Menu:
                window.CountFrame(p.gk->Timer_GetDelta());
                if (window.Elapsed() < seconds) return false;
                window.Report("menu_idle");
                SeedRandom(1);
                if (!p.board.NewGame(Hard)) return true;
                BuildBoardView();
                p.Gui->Leave();
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
                phase = Done;
                return true;
            case Done:
                return true;
        }
        return true;
    };
    RunGame(options);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return phase == Done ? 0 : 1;
}
