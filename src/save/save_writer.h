// The writer thread: every file the game keeps beside its saved game is written
// here, so that the frame never waits for a disk. The frame hands over a snapshot
// (the saved game's exact bytes and the play record, or a small file's bytes) and
// goes on; the thread writes game.save with the atomic write of save.h and then the
// record's changed rows into game.db (play_database.h), which it owns. Snapshots that pile up while a write
// is under way are coalesced: for the game and for each other file only the newest is written. The writer
// also keeps what went wrong: the frame asks for the standing problem (the last write of some file failed and
// none has succeeded since) and shows it. Destroying the writer writes what was handed over, then ends the
// thread. The file layer is a parameter, so tests can make the disk fail or stall. It also keeps the
// statistics of the games played, computed anew whenever a write adds a game or ends one, for the frame to
// copy. Owns its thread, the pending snapshots and the database. Standard library only.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "save/game_state.h"
#include "save/records/play_database.h"
#include "save/records/play_statistics.h"

// Replaces the contents of the file at path; 0 on success, else an errno value.
using FileWriteFunction = std::function<int(const std::string& path, const std::string& bytes)>;

// One save of the game in progress.
struct GameSnapshot {
    std::string savePath;   // game.save
    std::string saveBytes;  // exactly what SudokuBoard::Save writes; empty: game.save is left alone
    std::string databasePath;  // game.db, for the messages
    PlayRecord state;
    std::uint64_t fingerprint = 0;  // of the board saved
    GameEntry game;                 // the game's row among the games played
};

// A write that failed: its errno and the file. error 0: none.
struct SaveProblem {
    int error = 0;
    std::string path;
    std::string reason;  // the player's words when the errno has none (the database's own)

    bool operator==(const SaveProblem& other) const {
        return error == other.error && path == other.path && reason == other.reason;
    }
    bool operator!=(const SaveProblem& other) const { return !(*this == other); }
};

// Writes game.save through write and then the record into database; the record is
// not written when game.save failed (so the record never belongs to a later board than
// the game.save beside it). Without a database, unavailable says why (the record is
// then not saved). The first failure, or none.
SaveProblem WriteGameSnapshot(const GameSnapshot& snapshot, const FileWriteFunction& write,
                              PlayDatabase* database, const std::string& unavailable);

class SaveWriter {
public:
    explicit SaveWriter(FileWriteFunction write);
    // Writes whatever was handed over and not yet written, then ends the thread.
    ~SaveWriter();
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    // Takes the database opened at start-up (null, with the reason, when it could not be
    // used) and the statistics read from it. Called before the first SaveGame.
    void UseDatabase(std::unique_ptr<PlayDatabase> database, std::string unavailable,
                     std::vector<LevelStatistics> statistics);
    // A copy of the statistics as the last write left them.
    std::vector<LevelStatistics> Statistics();
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
    std::unique_ptr<PlayDatabase> database_;  // used on the writer's thread only
    std::string databaseUnavailable_;
    std::vector<LevelStatistics> statistics_;
    std::thread thread_;  // last: starts once everything above exists
};
