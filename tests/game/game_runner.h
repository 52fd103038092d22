// Runs the real game (start-up, frame loop, shutdown) on the recording engine in
// a thread of its own, one frame at a time, so that a test reads like a player's
// story: give a frame's input, let the frame run, look at the game, go on.
// Between two frames the game thread waits, so the test may read the game's
// state freely. Message boxes are recorded instead of shown.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "save/save_writer.h"
#include "support/recording_engine.h"

struct RecordedMessage {
    std::string text, caption;
    bool errorIcon = false;
    int frame = 0;  // frames completed before it was shown
};

class GameRunner {
public:
    // Starts the game with its saved game and log in saveDirectory; returns when the
    // first frame is about to run or the game has already ended. fileWrite, when set,
    // stands for the disk the writer thread writes to; puzzleFile, when set, is named as
    // on the command line (it must pass SetStartPuzzleFile).
    explicit GameRunner(const std::string& saveDirectory, FileWriteFunction fileWrite = {},
                        const std::string& puzzleFile = {});
    ~GameRunner();
    GameRunner(const GameRunner&) = delete;
    GameRunner& operator=(const GameRunner&) = delete;

    // Runs one frame with this input; false when the game has ended (before or during it).
    bool Frame(const InputFrame& input = {});
    // Runs n frames with the same input (keys and clicks only in the first).
    bool Frames(int n, InputFrame input = {});
    // Runs frames until done() holds (checked after each frame) or limit frames passed.
    template <typename Pred>
    bool FramesUntil(Pred done, int limit = 600, InputFrame input = {});
    // Closes the window and waits for shutdown.
    void Close();
    bool Ended();
    int FramesRun();

    // The frame in which a mouse button (GKK_LBUTTON or GKK_RBUTTON) goes down at (x, y).
    static InputFrame Press(float x, float y, int button);
    // A click at (x, y): the press frame and the release frame.
    bool Click(float x, float y) { return ClickWith(x, y, GKK_LBUTTON); }
    bool RightClick(float x, float y) { return ClickWith(x, y, GKK_RBUTTON); }
    bool Key(int key, float mouseX = 0, float mouseY = 0);

    std::vector<RecordedMessage> messages;
    int exitStatus = -1;
    RecordingEngine& engine;

private:
    bool NextInput(InputFrame& input);
    bool ClickWith(float x, float y, int button);
    void WaitForGame(std::unique_lock<std::mutex>& lock);

    std::mutex mutex;
    std::condition_variable changed;
    bool gameWaiting = false;  // the game thread waits for the next frame's input
    bool inputReady = false;
    bool closing = false;
    bool ended = false;
    int frames = 0;
    InputFrame pending;
    std::thread game;
};

template <typename Pred>
bool GameRunner::FramesUntil(Pred done, int limit, InputFrame input) {
    for (int i = 0; i < limit; ++i) {
        if (!Frame(input)) return false;
        input.key = 0;
        input.character = 0;
        input.presses.clear();
        if (done()) return true;
    }
    return false;
}
