// The play record in SQLite: the checks at opening, the tables, the record's rows
// written as changes against what this connection wrote last, and the games played.
#include "save/records/play_database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "sudoku/levels.h"

namespace {

// "VSDB" in the file's header: this game's databases and no one else's.
constexpr std::int32_t kApplicationId = 0x56534442;
constexpr std::int32_t kSchemaVersion = 1;
// Waits for another copy's transaction at most this long, then reports the lock.
constexpr int kBusyTimeoutMs = 1000;
constexpr int kUndoStack = 0, kRedoStack = 1;
constexpr std::size_t kBoardBytes = 256, kNotesBytes = 512;

constexpr const char* kSchema =
    "PRAGMA page_size=1024;"
    "PRAGMA journal_mode=WAL;"
    // The marks go in with the tables: a database killed while it was made is still new.
    "BEGIN;"
    "PRAGMA application_id=1448297538;"
    "PRAGMA user_version=1;"
    "CREATE TABLE meta(key TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE play(id INTEGER PRIMARY KEY CHECK(id = 1), generation INTEGER NOT NULL,"
    " fingerprint INTEGER NOT NULL, play_seconds INTEGER NOT NULL, hints INTEGER NOT NULL,"
    " origin_kind INTEGER NOT NULL, origin_level INTEGER NOT NULL, origin_solutions INTEGER NOT NULL,"
    " started INTEGER NOT NULL, mistakes INTEGER NOT NULL, game_id INTEGER NOT NULL,"
    " board BLOB NOT NULL, notes BLOB NOT NULL);"
    "CREATE TABLE history(stack INTEGER NOT NULL, seq INTEGER NOT NULL, cell INTEGER NOT NULL,"
    " value_before INTEGER NOT NULL, value_after INTEGER NOT NULL, notes_before INTEGER NOT NULL,"
    " notes_after INTEGER NOT NULL, first_of_step INTEGER NOT NULL, PRIMARY KEY(stack, seq)) WITHOUT ROWID;"
    "CREATE TABLE best_times(level INTEGER PRIMARY KEY, seconds INTEGER NOT NULL);"
    "CREATE TABLE games(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, ended INTEGER NOT NULL,"
    " kind INTEGER NOT NULL, level INTEGER NOT NULL, play_seconds INTEGER NOT NULL, hints INTEGER NOT NULL,"
    " mistakes INTEGER NOT NULL, outcome INTEGER NOT NULL);"
    "COMMIT;";
static_assert(kApplicationId == 1448297538, "the schema's application_id");

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return stmt_ != nullptr; }
    Statement& Bind(int index, std::int64_t value) {
        if (stmt_) sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    Statement& BindBlob(int index, const void* bytes, int size) {
        if (stmt_) sqlite3_bind_blob(stmt_, index, bytes, size, SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    bool Run() {
        const bool done = Step() == SQLITE_DONE;
        if (stmt_) sqlite3_reset(stmt_);
        return done;
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    // The blob in column when it has exactly size bytes, else null.
    const void* Blob(int column, std::size_t size) const {
        const void* bytes = sqlite3_column_blob(stmt_, column);
        return bytes && static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)) == size ? bytes
                                                                                              : nullptr;
    }
    const char* Text(int column) const {
        return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::int64_t NowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

DatabaseFault FaultOfCode(int code) {
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DatabaseFault::Locked;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return DatabaseFault::Damaged;
        default:
            return DatabaseFault::Unopenable;
    }
}

// Reads one integer from a pragma or query; false with the fault when the file answers with an error.
bool QueryInt(sqlite3* db, const char* sql, std::int64_t& value, DatabaseFault& fault) {
    Statement query(db, sql);
    const int code = query.Ok() ? query.Step() : sqlite3_errcode(db);
    if (code != SQLITE_ROW) {
        fault = FaultOfCode(code == SQLITE_DONE ? SQLITE_CORRUPT : code);
        return false;
    }
    value = query.Int(0);
    return true;
}

// The number of changes from a[from] on that b begins with.
std::size_t CommonPrefix(const std::vector<CellChange>& a, std::size_t from,
                         const std::vector<CellChange>& b) {
    std::size_t n = 0;
    while (from + n < a.size() && n < b.size() && a[from + n] == b[n]) ++n;
    return n;
}

// The longest step the history may drop from its front at once (a step of every cell).
constexpr std::size_t kLongestDroppedStep = 256;

bool IsClassicBestTime(const GameEntry& game) {
    return game.outcome == GameOutcome::Won && game.hints == 0 && game.kind == PuzzleKind::Classic &&
           IsLevel(game.level) && game.playSeconds >= 1 && game.playSeconds <= kMaxPlaySeconds;
}

}  // namespace

// What this connection last committed: the history rows and the game's row, so that a
// write only touches what changed. Dropped after a failed write (the next one writes all).
struct PlayDatabase::Written {
    std::int64_t generation = -1;
    std::vector<CellChange> undo, redo;
    std::int64_t undoBase = 0, redoBase = 0;  // the seq of each stack's first row
    std::int64_t gameStarted = 0;
    std::int64_t gameId = 0;
    GameOutcome outcome = GameOutcome::InProgress;
};

// How a stack's rows become the new changes: drop rows from its front (the history's cap
// dropped its oldest steps), keep that many rows after them, write the rest anew.
struct PlayDatabase::StackPlan {
    std::size_t drop = 0;
    std::size_t keep = 0;
};

namespace {

// The plan that rewrites the fewest rows: the new changes share a prefix with the old
// ones, or, once the history is full, begin a step or a few further into them.
PlayDatabase::StackPlan PlanStack(const std::vector<CellChange>& old, const std::vector<CellChange>& changes);

}  // namespace

PlayDatabase::PlayDatabase() = default;
PlayDatabase::~PlayDatabase() {
    Close();
}

void PlayDatabase::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    written_.reset();
}

bool PlayDatabase::Execute(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

DatabaseFault PlayDatabase::Check() {
    DatabaseFault fault = DatabaseFault::Opened;
    std::int64_t applicationId = 0, version = 0, tables = 0;
    if (!QueryInt(db_, "PRAGMA application_id", applicationId, fault) ||
        !QueryInt(db_, "PRAGMA user_version", version, fault) ||
        !QueryInt(db_, "SELECT count(*) FROM sqlite_master", tables, fault))
        return fault;
    if (applicationId == 0 && version == 0 && tables == 0)
        return Execute(kSchema) ? fault : FaultOfCode(sqlite3_errcode(db_));
    if (applicationId != kApplicationId) return DatabaseFault::Foreign;
    if (version > kSchemaVersion) return DatabaseFault::Newer;
    {
        Statement check(db_, "PRAGMA quick_check");
        const int code = check.Ok() ? check.Step() : sqlite3_errcode(db_);
        if (code != SQLITE_ROW) return FaultOfCode(code);
        if (!check.Text(0) || std::strcmp(check.Text(0), "ok") != 0) return DatabaseFault::Damaged;
    }
    for (const char* sql : {"SELECT * FROM meta", "SELECT * FROM play", "SELECT * FROM history",
                            "SELECT * FROM best_times", "SELECT * FROM games"}) {
        if (!Statement(db_, sql).Ok()) return DatabaseFault::Damaged;
    }
    if (!Execute("PRAGMA journal_mode=WAL")) return FaultOfCode(sqlite3_errcode(db_));
    return fault;
}

DatabaseFault PlayDatabase::Open(const std::string& path) {
    Close();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return DatabaseFault::NotRegular;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        Close();
        return DatabaseFault::Unopenable;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    const DatabaseFault fault = Check();
    if (fault != DatabaseFault::Opened || !Execute("PRAGMA synchronous=FULL")) {
        Close();
        return fault == DatabaseFault::Opened ? DatabaseFault::Unopenable : fault;
    }
    written_ = std::make_unique<Written>();
    return fault;
}

DatabaseFault PlayDatabase::OpenToRead(const std::string& path) {
    Close();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return DatabaseFault::Unopenable;
    if (!S_ISREG(info.st_mode)) return DatabaseFault::NotRegular;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        Close();
        return DatabaseFault::Unopenable;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    DatabaseFault fault = DatabaseFault::Opened;
    std::int64_t applicationId = 0, version = 0;
    if (!QueryInt(db_, "PRAGMA application_id", applicationId, fault) ||
        !QueryInt(db_, "PRAGMA user_version", version, fault)) {
    } else if (applicationId != kApplicationId) {
        fault = DatabaseFault::Foreign;
    } else if (version > kSchemaVersion) {
        fault = DatabaseFault::Newer;
    }
    if (fault != DatabaseFault::Opened) Close();
    return fault;
}

bool PlayDatabase::TookOverEarlierFiles() {
    if (!db_) return false;
    Statement query(db_, "SELECT value FROM meta WHERE key = 'taken_over'");
    return query.Step() == SQLITE_ROW;
}

bool PlayDatabase::TakeOver(const PlayRecord* record, std::uint64_t fingerprint, const BestTimes& best) {
    if (!db_ || !Execute("BEGIN IMMEDIATE")) return false;
    bool ok = true;
    if (record && IsWritablePlayRecord(*record)) {
        std::int64_t undoBase = 0, redoBase = 0;
        ok = WriteHistory(kUndoStack, record->undo, {}, undoBase) &&
             WriteHistory(kRedoStack, record->redo, {}, redoBase) &&
             WritePlayRow(*record, fingerprint, StoredGeneration() + 1);
    }
    Statement time(db_, "INSERT OR REPLACE INTO best_times(level, seconds) VALUES(?, ?)");
    for (std::int32_t level : {Easy, Medium, Hard}) {
        if (const auto seconds = best.Of(level))
            ok = ok && time.Bind(1, level).Bind(2, static_cast<std::int64_t>(*seconds)).Run();
    }
    ok =
        ok && Execute("INSERT OR REPLACE INTO meta(key, value) VALUES('taken_over', 1)") && Execute("COMMIT");
    if (!ok) Execute("ROLLBACK");
    written_ = std::make_unique<Written>();  // the next write compares with the database afresh
    return ok;
}

std::int64_t PlayDatabase::StoredGeneration() {
    Statement query(db_, "SELECT generation FROM play WHERE id = 1");
    return query.Step() == SQLITE_ROW ? query.Int(0) : -1;
}

void PlayDatabase::ReadCurrentGame() {
    Statement current(
        db_, "SELECT games.id, games.started, games.outcome FROM play JOIN games ON games.id = play.game_id");
    if (current.Step() != SQLITE_ROW) return;
    written_->gameId = current.Int(0);
    written_->gameStarted = current.Int(1);
    written_->outcome = static_cast<GameOutcome>(current.Int(2));
}

bool PlayDatabase::LoadRecord(PlayRecord& record, std::uint64_t& fingerprint) {
    if (!db_) return false;
    Statement play(db_,
                   "SELECT generation, fingerprint, play_seconds, hints, origin_kind, origin_level,"
                   " origin_solutions, started, mistakes, game_id, board, notes FROM play WHERE id = 1");
    if (play.Step() != SQLITE_ROW) return false;
    const void* board = play.Blob(10, kBoardBytes);
    const void* notes = play.Blob(11, kNotesBytes);
    const std::int64_t kind = play.Int(4);
    if (!board || !notes || kind < 0 || kind > static_cast<int>(PuzzleKind::File) || play.Int(2) < 0 ||
        play.Int(3) < 0 || play.Int(3) > kMaxHintsUsed || play.Int(8) < 0 || play.Int(8) > UINT32_MAX)
        return false;
    PlayRecord read;
    read.playSeconds = static_cast<std::uint64_t>(play.Int(2));
    read.hintsUsed = static_cast<std::uint32_t>(play.Int(3));
    read.origin = {static_cast<PuzzleKind>(kind), static_cast<std::int32_t>(play.Int(5)),
                   static_cast<std::uint8_t>(play.Int(6) & 0xff)};
    if (play.Int(6) < 0 || play.Int(6) > 2) return false;
    read.startedMicros = play.Int(7);
    read.mistakesMarked = static_cast<std::uint32_t>(play.Int(8));
    std::memcpy(read.board.data(), board, kBoardBytes);
    const auto* noteBytes = static_cast<const unsigned char*>(notes);
    for (std::size_t i = 0; i < kBoardBytes; ++i)
        read.notes[i / 16][i % 16] = static_cast<CellNotes>(noteBytes[2 * i] | noteBytes[2 * i + 1] << 8);
    std::int64_t rows = 0;
    DatabaseFault fault;
    if (!QueryInt(db_, "SELECT count(*) FROM history", rows, fault) ||
        rows > static_cast<std::int64_t>(kMaxHistoryChanges))
        return false;
    Statement history(
        db_,
        "SELECT stack, cell, value_before, value_after, notes_before, notes_after, first_of_step, seq"
        " FROM history ORDER BY stack, seq");
    std::int64_t bases[2] = {0, 0};
    int code;
    while ((code = history.Step()) == SQLITE_ROW) {
        const std::int64_t stack = history.Int(0);
        if (stack != kUndoStack && stack != kRedoStack) return false;
        std::vector<CellChange>& changes = stack == kUndoStack ? read.undo : read.redo;
        // A stack's rows run on without a gap from its first one.
        if (changes.empty()) bases[stack] = history.Int(7);
        if (history.Int(7) != bases[stack] + static_cast<std::int64_t>(changes.size())) return false;
        const std::int64_t cell = history.Int(1);
        if (cell < 0 || cell >= 256) return false;
        CellChange change;
        change.row = static_cast<std::uint8_t>(cell / 16);
        change.column = static_cast<std::uint8_t>(cell % 16);
        change.valueBefore = static_cast<std::uint8_t>(history.Int(2) & 0xff);
        change.valueAfter = static_cast<std::uint8_t>(history.Int(3) & 0xff);
        change.notesBefore = static_cast<CellNotes>(history.Int(4) & 0xffff);
        change.notesAfter = static_cast<CellNotes>(history.Int(5) & 0xffff);
        change.firstOfStep = history.Int(6) != 0;
        if (history.Int(2) != change.valueBefore || history.Int(3) != change.valueAfter ||
            history.Int(4) != change.notesBefore || history.Int(5) != change.notesAfter)
            return false;
        changes.push_back(change);
    }
    if (code != SQLITE_DONE || !IsWritablePlayRecord(read)) return false;
    fingerprint = static_cast<std::uint64_t>(play.Int(1));
    written_ = std::make_unique<Written>();
    written_->generation = play.Int(0);
    written_->undo = read.undo;
    written_->redo = read.redo;
    written_->undoBase = bases[kUndoStack];
    written_->redoBase = bases[kRedoStack];
    ReadCurrentGame();
    record = std::move(read);
    return true;
}

BestTimes PlayDatabase::LoadBestTimes() {
    BestTimes best;
    if (!db_) return best;
    Statement query(db_, "SELECT level, seconds FROM best_times");
    while (query.Step() == SQLITE_ROW) {
        if (query.Int(1) > 0)
            best.Record(static_cast<std::int32_t>(query.Int(0)), static_cast<std::uint64_t>(query.Int(1)));
    }
    return best;
}

std::vector<GameEntry> PlayDatabase::LoadGames() {
    std::vector<GameEntry> games;
    if (!db_) return games;
    Statement query(
        db_,
        "SELECT started, ended, kind, level, play_seconds, hints, mistakes, outcome FROM games ORDER BY id");
    while (query.Step() == SQLITE_ROW) {
        const std::int64_t kind = query.Int(2), outcome = query.Int(7);
        if (kind < 0 || kind > static_cast<int>(PuzzleKind::File) || outcome < 0 || outcome > 2 ||
            query.Int(4) < 0 || query.Int(5) < 0 || query.Int(6) < 0)
            continue;  // a damaged row counts as no game
        GameEntry game;
        game.startedMicros = query.Int(0);
        game.endedMicros = query.Int(1);
        game.kind = static_cast<PuzzleKind>(kind);
        game.level = static_cast<std::int32_t>(query.Int(3));
        game.playSeconds = std::min<std::uint64_t>(static_cast<std::uint64_t>(query.Int(4)), kMaxPlaySeconds);
        game.hints = static_cast<std::uint32_t>(std::min<std::int64_t>(query.Int(5), kMaxHintsUsed));
        game.mistakes = static_cast<std::uint32_t>(std::min<std::int64_t>(query.Int(6), UINT32_MAX));
        game.outcome = static_cast<GameOutcome>(outcome);
        games.push_back(game);
    }
    return games;
}

namespace {

PlayDatabase::StackPlan PlanStack(const std::vector<CellChange>& old,
                                  const std::vector<CellChange>& changes) {
    PlayDatabase::StackPlan plan{0, CommonPrefix(old, 0, changes)};
    if (plan.keep == old.size() || changes.empty()) return plan;
    const std::size_t limit = std::min(old.size(), kLongestDroppedStep * 4);
    for (std::size_t drop = 1; drop < limit; ++drop) {
        if (!old[drop].firstOfStep || !(old[drop] == changes[0])) continue;
        const std::size_t kept = CommonPrefix(old, drop, changes);
        if (drop + kept == old.size()) return kept > plan.keep ? PlayDatabase::StackPlan{drop, kept} : plan;
    }
    return plan;
}

}  // namespace

bool PlayDatabase::WriteHistory(int stack, const std::vector<CellChange>& changes, const StackPlan& plan,
                                std::int64_t& base) {
    if (plan.drop > 0) {
        Statement front(db_, "DELETE FROM history WHERE stack = ? AND seq < ?");
        if (!front.Bind(1, stack).Bind(2, base + static_cast<std::int64_t>(plan.drop)).Run()) return false;
        base += static_cast<std::int64_t>(plan.drop);
    }
    Statement drop(db_, "DELETE FROM history WHERE stack = ? AND seq >= ?");
    if (!drop.Bind(1, stack).Bind(2, base + static_cast<std::int64_t>(plan.keep)).Run()) return false;
    Statement insert(
        db_,
        "INSERT INTO history(stack, seq, cell, value_before, value_after, notes_before, notes_after,"
        " first_of_step) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t i = plan.keep; i < changes.size(); ++i) {
        const CellChange& c = changes[i];
        if (!insert.Bind(1, stack)
                 .Bind(2, base + static_cast<std::int64_t>(i))
                 .Bind(3, c.row * 16 + c.column)
                 .Bind(4, c.valueBefore)
                 .Bind(5, c.valueAfter)
                 .Bind(6, c.notesBefore)
                 .Bind(7, c.notesAfter)
                 .Bind(8, c.firstOfStep ? 1 : 0)
                 .Run())
            return false;
    }
    return true;
}

bool PlayDatabase::WritePlayRow(const PlayRecord& record, std::uint64_t fingerprint,
                                std::int64_t generation) {
    unsigned char notes[kNotesBytes];
    for (std::size_t i = 0; i < kBoardBytes; ++i) {
        const CellNotes cell = record.notes[i / 16][i % 16];
        notes[2 * i] = static_cast<unsigned char>(cell & 0xff);
        notes[2 * i + 1] = static_cast<unsigned char>(cell >> 8);
    }
    const std::int64_t gameId = written_ ? written_->gameId : 0;
    Statement row(db_,
                  "INSERT OR REPLACE INTO play(id, generation, fingerprint, play_seconds, hints, origin_kind,"
                  " origin_level, origin_solutions, started, mistakes, game_id, board, notes)"
                  " VALUES(1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    return row.Bind(1, generation)
        .Bind(2, static_cast<std::int64_t>(fingerprint))
        .Bind(3, static_cast<std::int64_t>(record.playSeconds))
        .Bind(4, record.hintsUsed)
        .Bind(5, static_cast<std::int64_t>(record.origin.kind))
        .Bind(6, record.origin.level)
        .Bind(7, record.origin.solutions)
        .Bind(8, record.startedMicros)
        .Bind(9, record.mistakesMarked)
        .Bind(10, gameId)
        .BindBlob(11, record.board.data(), static_cast<int>(kBoardBytes))
        .BindBlob(12, notes, static_cast<int>(kNotesBytes))
        .Run();
}

bool PlayDatabase::WriteGameRow(const GameEntry& game, std::int64_t& gameId) {
    if (game.startedMicros == 0) return true;
    const std::int64_t ended = game.endedMicros ? game.endedMicros : NowMicros();
    if (written_->gameStarted != game.startedMicros || written_->gameId == 0) {
        Statement old(db_, "UPDATE games SET outcome = 2 WHERE id = ? AND outcome = 0");
        if (written_->gameId && !old.Bind(1, written_->gameId).Run()) return false;
        Statement insert(
            db_,
            "INSERT INTO games(started, ended, kind, level, play_seconds, hints, mistakes, outcome)"
            " VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
        if (!insert.Bind(1, game.startedMicros)
                 .Bind(2, ended)
                 .Bind(3, static_cast<std::int64_t>(game.kind))
                 .Bind(4, game.level)
                 .Bind(5, static_cast<std::int64_t>(game.playSeconds))
                 .Bind(6, game.hints)
                 .Bind(7, game.mistakes)
                 .Bind(8, static_cast<std::int64_t>(game.outcome))
                 .Run())
            return false;
        gameId = sqlite3_last_insert_rowid(db_);
        gamesChanged_ = true;
        return true;
    }
    Statement update(
        db_,
        "UPDATE games SET ended = ?, play_seconds = ?, hints = ?, mistakes = ?, outcome = ? WHERE id = ?");
    gameId = written_->gameId;
    gamesChanged_ = written_->outcome != game.outcome;
    return update.Bind(1, ended)
        .Bind(2, static_cast<std::int64_t>(game.playSeconds))
        .Bind(3, game.hints)
        .Bind(4, game.mistakes)
        .Bind(5, static_cast<std::int64_t>(game.outcome))
        .Bind(6, gameId)
        .Run();
}

std::string PlayDatabase::Write(const PlayRecord& record, std::uint64_t fingerprint, const GameEntry& game) {
    gamesChanged_ = false;
    if (!db_) return DatabaseFaultText(DatabaseFault::Unopenable);
    if (!IsWritablePlayRecord(record)) return std::strerror(EINVAL);
    if (!Execute("BEGIN IMMEDIATE")) return sqlite3_errmsg(db_);
    const std::int64_t stored = StoredGeneration();
    if (!written_ || written_->generation != stored) {
        // Another copy wrote since (or this one never did): read the game row afresh, write every row.
        written_ = std::make_unique<Written>();
        ReadCurrentGame();
    }
    std::int64_t gameId = written_->gameId;
    std::int64_t undoBase = written_->undoBase, redoBase = written_->redoBase;
    bool ok = WriteHistory(kUndoStack, record.undo, PlanStack(written_->undo, record.undo), undoBase) &&
              WriteHistory(kRedoStack, record.redo, PlanStack(written_->redo, record.redo), redoBase) &&
              WriteGameRow(game, gameId);
    if (ok) {
        written_->gameId = gameId;
        ok = WritePlayRow(record, fingerprint, stored + 1);
    }
    if (ok && IsClassicBestTime(game)) {
        Statement best(db_,
                       "INSERT INTO best_times(level, seconds) VALUES(?, ?)"
                       " ON CONFLICT(level) DO UPDATE SET seconds = min(seconds, excluded.seconds)");
        ok = best.Bind(1, game.level).Bind(2, static_cast<std::int64_t>(game.playSeconds)).Run();
    }
    if (!ok || !Execute("COMMIT")) {
        const std::string reason = sqlite3_errstr(sqlite3_extended_errcode(db_));
        Execute("ROLLBACK");
        written_.reset();
        gamesChanged_ = false;
        return reason;
    }
    written_->generation = stored + 1;
    written_->undo = record.undo;
    written_->redo = record.redo;
    written_->undoBase = undoBase;
    written_->redoBase = redoBase;
    written_->gameStarted = game.startedMicros ? game.startedMicros : written_->gameStarted;
    written_->outcome = game.outcome;
    return {};
}

std::string DatabaseFaultText(DatabaseFault fault) {
    switch (fault) {
        case DatabaseFault::Opened:
            return {};
        case DatabaseFault::Damaged:
            return "game.db is damaged";
        case DatabaseFault::Foreign:
            return "game.db belongs to another program";
        case DatabaseFault::Newer:
            return "game.db was written by a newer version";
        case DatabaseFault::Locked:
            return "game.db is locked by another program";
        case DatabaseFault::NotRegular:
            return "something other than a regular file is in game.db's place";
        case DatabaseFault::Unopenable:
            break;
    }
    return "game.db cannot be opened";
}
