// The real engine's frame loop: what ends it (the frame callback, SDL_QUIT,
// closing the window, SIGTERM/SIGINT/SIGHUP), that it never spins, its frame
// delta, and a start that fails without a display.
#include <SDL.h>
#include <signal.h>

#include <chrono>
#include <vector>

#include "engine_test_fixture.h"

namespace {

// What the callbacks see; the callbacks are plain functions, so the script of
// the running test lives here.
struct LoopScript {
    int frames = 0;
    int renders = 0;
    int endAtFrame = -1;               // the frame callback returns true on this frame
    std::function<void(int)> onFrame;  // called with the frame number (1-based)
    std::vector<float> deltas;
    GK* gk = nullptr;
};
LoopScript script;

bool CountingFrame() {
    ++script.frames;
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

void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void PushWindowClose() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
}

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
        if (frame == 2) PushWindowClose();
    };
    gk->System_Start();  // the loop can run again after it ended
    EXPECT_EQ(script.frames, 2);
}

// The loop sleeps when presenting does not wait (dummy driver): 15 frames take at
// least most of a quarter second, and the delta reports the time between frames.
TEST_F(FrameLoopTest, PacesFramesAndReportsTheirDelta) {
    script.endAtFrame = 16;
    const auto start = std::chrono::steady_clock::now();
    gk->System_Start();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 15 * 0.0155) << "frames ran faster than 60 a second";
    EXPECT_FALSE(gkSdlVsyncActive()) << "the dummy driver has no display to wait for";
    EXPECT_LT(seconds, 3.0);
    ASSERT_EQ(script.deltas.size(), 16u);
    EXPECT_LT(script.deltas[0], 0.05f) << "the first frame's delta is short";
    double sum = 0;
    for (std::size_t i = 1; i < script.deltas.size(); ++i) {
        EXPECT_GT(script.deltas[i], 0.0f);
        sum += script.deltas[i];
    }
    EXPECT_NEAR(sum / 15, 1.0 / 60, 0.008);
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
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

INSTANTIATE_TEST_SUITE_P(TermIntHup, StopSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST_F(FrameLoopTest, ASignalBeforeTheLoopStartsEndsItAtOnce) {
    raise(SIGTERM);
    gk->System_Start();
    EXPECT_EQ(script.frames, 0);
}

TEST(EngineStart, WithoutADisplayFailsWithTheReasonOnStandardErrorAndInTheLog) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child runs this test again from the start, so the log's name must not vary.
    const std::string log = (std::filesystem::current_path() / "engine_start_failure.log").string();
    std::filesystem::remove(log);
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
