// The writer thread: every file the game keeps beside its saved game is written
// here, so that the frame never waits for a disk. The frame hands over a snapshot
// (the saved game's exact bytes and the game.state record, or a small file's
// bytes) and goes on; the thread writes game.save and then game.state, each with
// the atomic write of save.h. Snapshots that pile up while a write is under way
// are coalesced: for the game and for each other file only the newest is written.
// The writer also keeps what went wrong: the frame asks for the standing problem
// (the last write of some file failed and none has succeeded since) and shows it.
// Destroying the writer writes what was handed over, then ends the thread. The
// file layer is a parameter, so tests can make the disk fail or stall.
// Owns its thread and the pending snapshots. Standard library only.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "save/game_state.h"

// Replaces the contents of the file at path; 0 on success, else an errno value.
using FileWriteFunction = std::function<int(const std::string& path, const std::string& bytes)>;

// One save of the game in progress.
struct GameSnapshot {
    std::string savePath;   // game.save
    std::string saveBytes;  // exactly what SudokuBoard::Save writes; empty: game.save is left alone
    std::string statePath;  // game.state
    PlayRecord state;
    std::uint64_t fingerprint = 0;  // of the board saved
};

// A write that failed: its errno and the file. error 0: none.
struct SaveProblem {
    int error = 0;
    std::string path;

    bool operator==(const SaveProblem& other) const { return error == other.error && path == other.path; }
    bool operator!=(const SaveProblem& other) const { return !(*this == other); }
};

// Writes game.save and then game.state through write; game.state is not written
// when game.save failed (so a game.state never belongs to a later board than the
// game.save beside it). The first failure, or none.
SaveProblem WriteGameSnapshot(const GameSnapshot& snapshot, const FileWriteFunction& write);

class SaveWriter {
public:
    explicit SaveWriter(FileWriteFunction write);
    // Writes whatever was handed over and not yet written, then ends the thread.
    ~SaveWriter();
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    // Hands over a save of the game; a game snapshot not yet begun is replaced.
    void SaveGame(GameSnapshot snapshot);
    // Hands over the bytes of a small file; a pending write of the same path is replaced.
    void SaveFile(const std::string& path, std::string bytes);
    // Blocks until everything handed over has been written (or failed).
    void WaitUntilWritten();
    // When the standing problem differs from the one this last returned (at first:
    // none), puts it in problem and returns true. Never blocks on a write.
    bool TakeProblemChange(SaveProblem& problem);
    // Called on the writer's thread after a batch that made or cleared a failure, so
    // that a waiting frame loop wakes to show it.
    void SetProblemCallback(std::function<void()> callback);

private:
    void Run();
    bool HasWork() const { return game_.has_value() || !files_.empty(); }
    // Writes what was taken off the queue; records the outcome under the lock.
    void WriteBatch(std::optional<GameSnapshot> game, std::map<std::string, std::string> files);

    FileWriteFunction write_;
    std::mutex mutex_;
    std::condition_variable wake_;  // work handed over, or stopping
    std::condition_variable idle_;  // a batch finished
    std::optional<GameSnapshot> game_;
    std::map<std::string, std::string> files_;  // path -> bytes
    bool writing_ = false;
    bool stopping_ = false;
    // The failed last write per kind: "" for the game, else the file's path.
    std::map<std::string, SaveProblem> failures_;
    SaveProblem taken_;
    std::function<void()> problemChanged_;
    std::thread thread_;  // last: starts once everything above exists
};
