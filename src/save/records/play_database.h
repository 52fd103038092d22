// The play record in SQLite: "game.db" beside "game.save" keeps what the saved-game
// format has no room for (the notes, the undo and redo history as rows of moves, the
// clock, the hints, the puzzle's origin and grade, and the fingerprint of the board it
// was written for), the best times, and one row per game played. Each write is one
// transaction in WAL mode that touches only the rows that changed, so a move costs the
// same few pages whatever the history's length. A database that is damaged, foreign,
// newer, locked or not a regular file is never written and never removed: opening it
// fails with a reason for the player. The earlier files ("game.state" of both versions
// and "best-times") are taken over once, into a new database. Owns its connection;
// one thread uses it at a time. SQLite and the standard library only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "save/game_state.h"
#include "save/scores.h"

constexpr const char* PlayDatabaseFileName = "game.db";

// How a game ended, as its row keeps it.
enum class GameOutcome : std::int32_t { InProgress = 0, Won = 1, Abandoned = 2 };

// One row of the games played: a game is known by the moment it began.
struct GameEntry {
    std::int64_t startedMicros = 0;  // microseconds since 1970; 0: no game
    std::int64_t endedMicros = 0;    // the last write of the game
    PuzzleKind kind = PuzzleKind::Classic;
    std::int32_t level = 0;
    std::uint64_t playSeconds = 0;
    std::uint32_t hints = 0;
    std::uint32_t mistakes = 0;  // mistakes marked
    GameOutcome outcome = GameOutcome::InProgress;
};

// Why opening failed; Opened when it did not.
enum class DatabaseFault { Opened, Damaged, Foreign, Newer, Locked, NotRegular, Unopenable };

struct sqlite3;

class PlayDatabase {
public:
    PlayDatabase();
    ~PlayDatabase();
    PlayDatabase(const PlayDatabase&) = delete;
    PlayDatabase& operator=(const PlayDatabase&) = delete;

    // Opens (or makes) the database at path, checks it whole and ours, and makes its
    // tables when it is new. On failure nothing was written to the file.
    DatabaseFault Open(const std::string& path);
    // Opens an existing database without writing to it (--stats); Unopenable when missing.
    DatabaseFault OpenToRead(const std::string& path);
    bool IsOpen() const { return db_ != nullptr; }

    // True once the earlier files were taken over (or found absent) into this database.
    bool TookOverEarlierFiles();
    // Writes the earlier game.state's record (when found) and best times, and marks the
    // take-over done, in one transaction. False when the write failed.
    bool TakeOver(const PlayRecord* record, std::uint64_t fingerprint, const BestTimes& best);

    // The record kept and the fingerprint it names; false when there is none or it is damaged.
    bool LoadRecord(PlayRecord& record, std::uint64_t& fingerprint);
    BestTimes LoadBestTimes();
    // Every game played, oldest first.
    std::vector<GameEntry> LoadGames();

    // One transaction: the record's changed rows, the game's row (a new game marks the
    // one before it abandoned when it was in progress), and the best time of a classic
    // game won without hints. Empty on success, else the reason for the player.
    std::string Write(const PlayRecord& record, std::uint64_t fingerprint, const GameEntry& game);
    // True when the last successful Write added a game or changed a game's outcome.
    bool GamesChanged() const { return gamesChanged_; }

    // Which rows of an undo or redo stack a write keeps (play_database.cpp).
    struct StackPlan;

private:
    struct Written;
    bool Execute(const char* sql);
    DatabaseFault Check();
    bool WriteHistory(int stack, const std::vector<CellChange>& changes, const StackPlan& plan,
                      std::int64_t& base);
    bool WritePlayRow(const PlayRecord& record, std::uint64_t fingerprint, std::int64_t generation);
    bool WriteGameRow(const GameEntry& game, std::int64_t& gameId);
    std::int64_t StoredGeneration();
    void ReadCurrentGame();
    void Close();

    sqlite3* db_ = nullptr;
    std::unique_ptr<Written> written_;  // what this connection last wrote, to write only changes
    bool gamesChanged_ = false;
};

// The player's words for a fault: "game.db is damaged" and the like.
std::string DatabaseFaultText(DatabaseFault fault);
