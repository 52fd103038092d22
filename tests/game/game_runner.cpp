#include "game/game_runner.h"

#include "app/startup.h"
#include "app/states.h"
#include "platform/message_box.h"

GameRunner::GameRunner(const std::string& saveDirectory, FileWriteFunction fileWrite,
                       const std::string& puzzleFile)
    : engine(RecordingEngine::Instance()) {
    engine.driver = [this](RecordingEngine&, InputFrame& input) { return NextInput(input); };
    SetMessageBoxHandler([this](const std::string& text, const std::string& caption, bool errorIcon) {
        messages.push_back({text, caption, errorIcon, frames});
    });
    CreateFrameLock();
    game = std::thread([this, saveDirectory, fileWrite, puzzleFile] {
        RunOptions options;
        options.saveDirectory = saveDirectory;
        options.fileWrite = fileWrite;
        std::string error;
        if (!puzzleFile.empty()) SetStartPuzzleFile(options, puzzleFile, error);
        const int status = RunGame(options);
        std::lock_guard<std::mutex> lock(mutex);
        exitStatus = status;
        ended = true;
        changed.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    WaitForGame(lock);
}

GameRunner::~GameRunner() {
    Close();
    SetMessageBoxHandler({});
    engine.driver = nullptr;
}

void GameRunner::WaitForGame(std::unique_lock<std::mutex>& lock) {
    changed.wait(lock, [this] { return gameWaiting || ended; });
}

bool GameRunner::NextInput(InputFrame& input) {
    std::unique_lock<std::mutex> lock(mutex);
    gameWaiting = true;
    changed.notify_all();
    changed.wait(lock, [this] { return inputReady || closing; });
    gameWaiting = false;
    if (closing) return false;
    inputReady = false;
    input = pending;
    return true;
}

bool GameRunner::Frame(const InputFrame& input) {
    std::unique_lock<std::mutex> lock(mutex);
    WaitForGame(lock);
    if (ended) return false;
    pending = input;
    inputReady = true;
    gameWaiting = false;
    changed.notify_all();
    changed.wait(lock, [this] { return gameWaiting || ended; });
    ++frames;
    return !ended;
}

bool GameRunner::Frames(int n, InputFrame input) {
    for (int i = 0; i < n; ++i) {
        if (!Frame(input)) return false;
        input.key = 0;
        input.character = 0;
        input.presses.clear();
    }
    return true;
}

void GameRunner::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
        changed.notify_all();
    }
    if (game.joinable()) game.join();
}

bool GameRunner::Ended() {
    std::lock_guard<std::mutex> lock(mutex);
    return ended;
}

int GameRunner::FramesRun() {
    std::lock_guard<std::mutex> lock(mutex);
    return frames;
}

InputFrame GameRunner::Press(float x, float y, int button) {
    InputFrame press;
    press.mouseX = x;
    press.mouseY = y;
    press.key = button;
    press.left = button == GKK_LBUTTON;
    press.right = button == GKK_RBUTTON;
    return press;
}

bool GameRunner::ClickWith(float x, float y, int button) {
    if (!Frame(Press(x, y, button))) return false;
    InputFrame release;
    release.mouseX = x;
    release.mouseY = y;
    return Frame(release);
}

bool GameRunner::Key(int key, float x, float y) {
    InputFrame input;
    input.key = key;
    input.mouseX = x;
    input.mouseY = y;
    return Frame(input);
}
