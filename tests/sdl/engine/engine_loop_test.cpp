// The real engine's frame loop: what ends it (the frame callback, SDL_QUIT,
// closing the window, SIGTERM/SIGINT/SIGHUP), that it never spins, its frame
// delta, and a start that fails without a display.
#include <SDL.h>
#include <signal.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "pushed_events.h"
#include "sdl/engine_test_fixture.h"

namespace {

// What the callbacks see; the callbacks are plain functions, so the script of
// the running test lives here.
struct LoopScript {
    int frames = 0;
    int renders = 0;
    int endAtFrame = -1;               // the frame callback returns true on this frame
    std::function<void(int)> onFrame;  // called with the frame number (1-based)
    std::vector<float> deltas;
    std::vector<Uint64> calledAt;  // SDL's performance counter at each frame callback
    GK* gk = nullptr;
};
LoopScript script;

bool CountingFrame() {
    script.gk->System_NextFrameWithin(0);  // frames at the display's rate
    ++script.frames;
    script.calledAt.push_back(SDL_GetPerformanceCounter());
    script.deltas.push_back(script.gk->Timer_GetDelta());
    if (script.onFrame) script.onFrame(script.frames);
    return script.frames == script.endAtFrame;
}

bool CountingRender() {
    ++script.renders;
    script.gk->Gfx_BeginScene(0);
    script.gk->Gfx_EndScene();
    return false;
}

class FrameLoopTest : public EngineTest {
protected:
    void SetUp() override {
        script = LoopScript();
        script.gk = gkCreate(GK_VERSION);
        script.gk->System_SetState(GK_FRAMEFUNC, CountingFrame);
        script.gk->System_SetState(GK_RENDERFUNC, CountingRender);
        EngineTest::SetUp();
    }
    void TearDown() override {
        EngineTest::TearDown();
        script.gk->Release();
        script = LoopScript();
    }
};

}  // namespace

TEST_F(FrameLoopTest, EndsWhenTheFrameCallbackReturnsTrueWithoutRenderingThatFrame) {
    script.endAtFrame = 5;
    gk->System_Start();
    EXPECT_EQ(script.frames, 5);
    EXPECT_EQ(script.renders, 4);
}

TEST_F(FrameLoopTest, EndsOnAQuitEventOrAClosedWindowBeforeTheNextFrame) {
    script.onFrame = [](int frame) {
        if (frame == 3) PushQuit();
    };
    gk->System_Start();
    EXPECT_EQ(script.frames, 3);
    EXPECT_EQ(script.renders, 3);

    script.frames = script.renders = 0;
    script.onFrame = [](int frame) {
        if (frame == 2) PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    };
    gk->System_Start();  // the loop can run again after it ended
    EXPECT_EQ(script.frames, 2);
}

double Seconds(Uint64 from, Uint64 to) {
    return static_cast<double>(to - from) / static_cast<double>(SDL_GetPerformanceFrequency());
}

// The loop sleeps when presenting does not wait (dummy driver): 15 frames take at
// least most of a quarter second. Each delta is the time between two frame starts,
// and a frame starts after the previous frame's callback and before its own, so the
// deltas add up to no less than the time between the 1st and the 15th callback and
// no more than the time from the loop's start to the 16th. A loaded machine only
// makes frames longer; how much longer is measured by veltrane-pacing, not here.
TEST_F(FrameLoopTest, PacesFramesAndReportsTheirDelta) {
    script.endAtFrame = 16;
    const Uint64 start = SDL_GetPerformanceCounter();
    gk->System_Start();
    EXPECT_FALSE(gkSdlVsyncActive()) << "the dummy driver has no display to wait for";
    ASSERT_EQ(script.deltas.size(), 16u);
    const std::vector<Uint64>& at = script.calledAt;
    EXPECT_GE(Seconds(start, at[15]), 15 * 0.0155) << "frames ran faster than 60 a second";
    constexpr double rounding = 1e-5;  // the deltas are floats
    EXPECT_GE(script.deltas[0], 0.0f);
    EXPECT_LE(script.deltas[0], Seconds(start, at[0]) + rounding) << "the first delta starts with the loop";
    double sum = 0;
    for (std::size_t i = 1; i < script.deltas.size(); ++i) {
        EXPECT_GT(script.deltas[i], 0.0f);
        sum += script.deltas[i];
    }
    EXPECT_GE(sum, 15 * 0.0155) << "a delta is shorter than the frame it reports";
    EXPECT_GE(sum, Seconds(at[0], at[14]) - rounding);
    EXPECT_LE(sum, Seconds(start, at[15]) + rounding);
}

class StopSignalTest : public FrameLoopTest, public ::testing::WithParamInterface<int> {};

TEST_P(StopSignalTest, EndsTheLoopAtTheNextFrameAndRestoresTheHandlerAfterShutdown) {
    const int signal = GetParam();
    static bool handledWhileRunning;
    handledWhileRunning = false;
    script.onFrame = [signal](int frame) {
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        if (frame == 1) handledWhileRunning = current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN;
        if (frame == 2) raise(signal);
    };
    gk->System_Start();
    EXPECT_TRUE(handledWhileRunning);
    EXPECT_EQ(script.frames, 2);
    EXPECT_EQ(script.renders, 2) << "the frame that got the signal still finishes";
    EXPECT_NE(ReadFile(logFile).find("Frame loop ended by signal " + std::to_string(signal)),
              std::string::npos);
    gk->System_Shutdown();
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    // Back to what the process had: SIG_DFL, or SIG_IGN when it was started in the
    // background or by nohup.
    EXPECT_TRUE(current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN);
}

INSTANTIATE_TEST_SUITE_P(TermIntHup, StopSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST_F(FrameLoopTest, ASignalBeforeTheLoopStartsEndsItAtOnce) {
    raise(SIGTERM);
    gk->System_Start();
    EXPECT_EQ(script.frames, 0);
}

TEST(EngineStart, WithoutADisplayFailsWithTheReasonOnStandardErrorAndInTheLog) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child runs this test again from the start: it finds the log's name in the
    // environment the parent set, in the parent's temporary folder.
    constexpr const char* kLogVariable = "VELTRANE_START_FAILURE_LOG";
    std::optional<TempFolder> folder;
    std::string log;
    if (const char* inherited = std::getenv(kLogVariable)) {
        log = inherited;
    } else {
        log = folder.emplace().File("engine_start_failure.log");
        setenv(kLogVariable, log.c_str(), 1);
    }
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "nonexistent", 1);
            GK* gk = gkCreate(GK_VERSION);
            gk->System_SetState(GK_LOGFILE, log.c_str());
            const bool started = gk->System_Initiate();
            gk->System_Start();  // does nothing without a window
            gk->System_Shutdown();
            gk->Release();
            std::exit(started ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "cannot start the engine: SDL_Init: .*nonexistent");
    unsetenv(kLogVariable);
    const std::string text = ReadFile(log);
    EXPECT_NE(text.find("System_Initiate failed: SDL_Init"), std::string::npos) << text;
}

TEST(EngineStart, NoFrameLoopBeforeASuccessfulStart) {
    script = LoopScript();
    GK* gk = gkCreate(GK_VERSION);
    script.gk = gk;
    gk->System_SetState(GK_FRAMEFUNC, CountingFrame);
    gk->System_Start();
    EXPECT_EQ(script.frames, 0);
    EXPECT_FALSE(gk->Gfx_BeginScene(0));
    EXPECT_EQ(gk->Texture_Load("cursor.png", 0, false), 0u);
    gk->System_Shutdown();
    gk->Release();
}

TEST_F(FrameLoopTest, AShutdownFromInsideACallbackEndsTheLoop) {
    script.onFrame = [](int frame) {
        if (frame == 2) script.gk->System_Shutdown();
    };
    script.endAtFrame = 50;  // would end here if the loop went on
    gk->System_Start();
    EXPECT_EQ(script.frames, 2);
    EXPECT_EQ(script.renders, 1);
}
