// Frames on demand, played on the recording engine's clock of virtual seconds as
// the real engine runs them: a still screen runs no frame until the deadline the
// game asked for (the play clock's next second), input runs a frame at once, and
// the main menu enters and leaves through the same frames, at the same times, as
// at a steady 60 frames a second. A worker's verdict wakes the loop.
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "app/startup.h"
#include "app/states.h"
#include "game/scenario_support.h"
#include "play/session/dead_end_watch.h"
#include "support/boards.h"

namespace {

// The same quads, textures compared by their files (each run loads them anew, under new handles).
bool Same(const std::vector<Quad>& a, const std::vector<Quad>& b) {
    auto& textures = RecordingEngine::Instance().textures;
    for (std::size_t i = 0; i < a.size() && a.size() == b.size(); ++i) {
        Quad x = a[i], y = b[i];
        if (textures[x.tex].name != textures[y.tex].name) return false;
        x.tex = y.tex = 0;
        if (std::memcmp(&x, &y, sizeof(Quad)) != 0) return false;
    }
    return a.size() == b.size();
}

// A key at a second; the pointer stays where it is (in the window's corner).
InputFrame KeyAt(double at, int key) {
    InputFrame input;
    input.key = key;
    input.at = at;
    return input;
}

class FramesOnDemandTest : public ScenarioTest {
protected:
    // Runs the game from its start with the engine's script as set, in a folder of its
    // own; each frame's quads.
    std::vector<std::vector<Quad>> Run() {
        GameFolder own;
        std::vector<std::vector<Quad>> drawn;
        engine.afterFrame = [&drawn](RecordingEngine& e) { drawn.push_back(e.quads); };
        CreateFrameLock();
        RunOptions options;
        options.saveDirectory = own.path();
        RunGame(options);
        return drawn;
    }
};

}  // namespace

TEST_F(FramesOnDemandTest, AStillPlayScreenRunsAFrameOnlyAtTheClocksNextSecondAndInputAtOnce) {
    engine.onDemand = true;
    engine.stopAt = 15;
    engine.script = {KeyAt(1, GKK_ENTER), KeyAt(2, GKK_ENTER), KeyAt(12.3, GKK_RIGHT)};  // New Game, Easy
    Run();
    std::vector<double> still;  // the frames of the play screen left alone
    for (double at : engine.frameTimes)
        if (at > 5 && at < 12.3) still.push_back(at);
    ASSERT_GE(still.size(), 6u);
    for (std::size_t i = 1; i < still.size(); ++i) EXPECT_NEAR(still[i] - still[i - 1], 1.0, 0.01) << i;
    EXPECT_EQ(std::count(engine.frameTimes.begin(), engine.frameTimes.end(), 12.3), 1) << "the key's frame";
}

TEST_F(FramesOnDemandTest, TheMainMenuEntersAndLeavesThroughTheFramesOfASteadySixtyFramesASecond) {
    constexpr int kEscapeFrame = 180;
    for (int i = 0; i < 400; ++i) engine.script.push_back(KeyAt(0, i == kEscapeFrame ? GKK_ESCAPE : 0));
    engine.script.front().dt = 0;  // the loop's first frame comes at once
    const auto steady = Run();
    engine.ResetRecording();
    engine.onDemand = true;
    engine.script = {KeyAt(3, GKK_ESCAPE)};  // leaves the menu, then the game ends
    const auto onDemand = Run();
    const std::vector<double>& at = engine.frameTimes;
    const std::size_t escape = std::find(at.begin(), at.end(), 3.0) - at.begin();
    ASSERT_LT(escape, at.size());
    ASSERT_LT(escape, 60u) << "the loop waited once the menu was still";
    for (std::size_t i = 0; i < onDemand.size(); ++i) {
        const std::size_t steadyFrame = i < escape ? i : i - escape + kEscapeFrame;
        ASSERT_LT(steadyFrame, steady.size());
        EXPECT_NEAR(at[i], i < escape ? i / 60.0 : 3 + (i - escape) / 60.0, 1e-9) << i;
        EXPECT_TRUE(Same(onDemand[i], steady[steadyFrame])) << "frame " << i;
    }
    EXPECT_TRUE(Same(onDemand[escape - 1], steady[kEscapeFrame - 1])) << "the menu had entered before the loop waited";
    EXPECT_EQ(onDemand.size() - escape, steady.size() - kEscapeFrame) << "the game ended after the same leave";
}

TEST(DeadEndWatchWake, AVerdictCallsTheAnswerCallback) {
    std::mutex mutex;
    std::condition_variable answered;
    bool called = false;
    DeadEndWatch watch;
    watch.SetAnswerCallback([&] {
        std::lock_guard<std::mutex> lock(mutex);
        called = true;
        answered.notify_all();
    });
    watch.Update(EmptyBoard());
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_TRUE(answered.wait_for(lock, std::chrono::minutes(1), [&] { return called; }));
}
