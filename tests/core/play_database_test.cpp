// game.db: records round-trip through changes, a killed writer leaves a whole database, one
// the game cannot use is refused and left byte for byte; the statistics of a run of games.
#include "save/records/play_database.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "save/records/play_statistics.h"
#include "support/play_record_reader.h"
#include "support/temp_folder.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// sqlite3 on the file, for what the game must refuse.
void RunSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A record after moves number of single-cell steps, the last `undone` of them undone.
PlayRecord RecordAfter(int moves, int undone = 0) {
    PlayRecord record;
    record.playSeconds = 60u + static_cast<unsigned>(moves);
    record.hintsUsed = 2;
    record.origin = {PuzzleKind::Logic, 2, 1};
    record.startedMicros = 1'700'000'000'000'000;
    record.mistakesMarked = 4;
    record.notes[3][5] = 0x8001;
    record.board[15][15] = 16;
    for (int i = 0; i < moves; ++i) {
        const auto row = static_cast<std::uint8_t>(i % 16), column = static_cast<std::uint8_t>(i / 16 % 16);
        const CellChange change{row, column, 0, static_cast<std::uint8_t>(row + 1), 4, 0, true};
        (i < moves - undone ? record.undo : record.redo).push_back(change);
    }
    std::reverse(record.redo.begin(), record.redo.end());
    return record;
}

GameEntry GameOf(const PlayRecord& record, GameOutcome outcome = GameOutcome::InProgress) {
    return {record.startedMicros,  0,      PuzzleKind::Classic, 2, record.playSeconds, record.hintsUsed,
            record.mistakesMarked, outcome};
}

// A database as the game leaves it after moves.
void MakeDatabase(const std::string& path, int moves) {
    PlayDatabase database;
    database.Open(path);
    database.Write(RecordAfter(moves), 1, GameOf(RecordAfter(moves)));
}

void ExpectSameRecord(const PlayRecord& a, const PlayRecord& b) {
    EXPECT_TRUE(a.playSeconds == b.playSeconds && a.hintsUsed == b.hintsUsed && a.origin == b.origin &&
                a.board == b.board && a.notes == b.notes && a.undo == b.undo && a.redo == b.redo &&
                a.startedMicros == b.startedMicros && a.mistakesMarked == b.mistakesMarked);
}

TEST(PlayDatabase, RecordAndGameRowComeBackThroughMovesUndoAndRedo) {
    TempFolder folder;
    const std::string path = folder.File("game.db");
    // A full history drops its oldest steps as a move comes.
    const auto capped = [](PlayRecord record, std::size_t dropped) {
        record.undo.erase(record.undo.begin(), record.undo.begin() + static_cast<std::ptrdiff_t>(dropped));
        return record;
    };
    // Each write changes a few rows of the one before: moves, undo, redo, the cap, a new branch.
    const PlayRecord steps[] = {
        RecordAfter(3), RecordAfter(8), RecordAfter(8, 3), RecordAfter(8, 1), capped(RecordAfter(10), 2),
        RecordAfter(6)};
    {
        PlayDatabase database;
        ASSERT_EQ(database.Open(path), DatabaseFault::Opened);
        for (const PlayRecord& step : steps) ASSERT_EQ(database.Write(step, 77, GameOf(step)), "");
        ASSERT_EQ(database.Write(steps[5], 77, GameOf(steps[5], GameOutcome::Won)), "");
    }
    PlayDatabase database;
    ASSERT_EQ(database.Open(path), DatabaseFault::Opened);
    PlayRecord read;
    std::uint64_t fingerprint = 0;
    ASSERT_TRUE(database.LoadRecord(read, fingerprint));
    EXPECT_EQ(fingerprint, 77u);
    ExpectSameRecord(read, steps[5]);
    // Rows moved by the cap read back after a new start, and are moved on from there.
    for (const PlayRecord& step : {capped(RecordAfter(11), 1), capped(RecordAfter(12), 3)}) {
        ASSERT_EQ(database.Write(step, 77, GameOf(step, GameOutcome::Won)), "");
        PlayDatabase again;
        ASSERT_EQ(again.Open(path), DatabaseFault::Opened);
        ASSERT_TRUE(again.LoadRecord(read, fingerprint));
        ExpectSameRecord(read, step);
    }
    const std::vector<GameEntry> games = database.LoadGames();
    ASSERT_EQ(games.size(), 1u) << "one row per game, whatever its writes";
    EXPECT_TRUE(games[0].outcome == GameOutcome::Won && games[0].mistakes == 4u &&
                games[0].playSeconds == 72u);
    EXPECT_EQ(database.LoadBestTimes().Of(2), std::nullopt) << "won with hints: no best time";
}

TEST(PlayDatabase, NewGameAbandonsTheOneInProgressAndAnotherWriterIsNotOverwrittenBlindly) {
    TempFolder folder;
    const std::string path = folder.File("game.db");
    PlayDatabase first, second;
    ASSERT_EQ(first.Open(path), DatabaseFault::Opened);
    ASSERT_EQ(first.Write(RecordAfter(5), 1, GameOf(RecordAfter(5))), "");
    ASSERT_EQ(second.Open(path), DatabaseFault::Opened);
    PlayRecord next = RecordAfter(2);
    next.startedMicros += 1;
    next.hintsUsed = 0;
    ASSERT_EQ(second.Write(next, 2, GameOf(next)), "");
    ASSERT_EQ(second.Write(next, 2, GameOf(next, GameOutcome::Won)), "");
    // The first copy writes again over rows it no longer knows: all of them, afresh.
    ASSERT_EQ(first.Write(RecordAfter(6), 1, GameOf(RecordAfter(6))), "");
    PlayRecord read;
    std::uint64_t fingerprint = 0;
    ASSERT_TRUE(first.LoadRecord(read, fingerprint));
    ExpectSameRecord(read, RecordAfter(6));
    const std::vector<GameEntry> games = first.LoadGames();
    ASSERT_EQ(games.size(), 3u);
    EXPECT_TRUE(games[0].outcome == GameOutcome::Abandoned && games[1].outcome == GameOutcome::Won);
    EXPECT_EQ(first.LoadBestTimes().Of(2), next.playSeconds);
}

// A child writes a move per transaction and says so after each commit; it is killed
// while it writes the next. The database is whole and holds at least what it reported.
TEST(PlayDatabase, KilledWriterLeavesWholeDatabase) {
    for (const int killAfter : {1, 7, 40}) {
        TempFolder folder;
        const std::string path = folder.File("game.db");
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            PlayDatabase database;
            if (database.Open(path) != DatabaseFault::Opened) _exit(3);
            for (int moves = 1;; ++moves) {
                const PlayRecord record = RecordAfter(moves);
                if (!database.Write(record, 5, GameOf(record)).empty()) _exit(4);
                if (write(pipeEnds[1], "w", 1) != 1) _exit(5);
            }
        }
        close(pipeEnds[1]);
        char byte;
        for (int i = 0; i < killAfter; ++i) ASSERT_EQ(read(pipeEnds[0], &byte, 1), 1);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(pipeEnds[0]);
        EXPECT_EQ(DatabaseIntegrity(path), "ok");
        PlayDatabase database;
        ASSERT_EQ(database.Open(path), DatabaseFault::Opened);
        PlayRecord record;
        std::uint64_t fingerprint = 0;
        ASSERT_TRUE(database.LoadRecord(record, fingerprint));
        EXPECT_GE(record.undo.size(), static_cast<std::size_t>(killAfter));
        EXPECT_EQ(record.undo, RecordAfter(static_cast<int>(record.undo.size())).undo)
            << "a whole transaction";
    }
}

TEST(PlayDatabase, RefusesWhatItCannotUseAndLeavesItAsItIs) {
    struct Case {
        const char* what;
        void (*make)(const std::string& path);
        DatabaseFault fault;
    };
    const Case cases[] = {
        {"text", [](const std::string& p) { std::ofstream(p) << "not a database, but the player's notes\n"; },
         DatabaseFault::Damaged},
        {"foreign", [](const std::string& p) { RunSql(p, "CREATE TABLE t(x); PRAGMA application_id=7;"); },
         DatabaseFault::Foreign},
        {"newer", [](const std::string& p) { MakeDatabase(p, 1), RunSql(p, "PRAGMA user_version=9;"); },
         DatabaseFault::Newer},
        {"cut short", [](const std::string& p) { MakeDatabase(p, 900), (void)truncate(p.c_str(), 5000); },
         DatabaseFault::Damaged},
        {"folder", [](const std::string& p) { mkdir(p.c_str(), 0700); }, DatabaseFault::NotRegular},
        {"fifo", [](const std::string& p) { mkfifo(p.c_str(), 0600); }, DatabaseFault::NotRegular},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.File("game.db");
        c.make(path);
        const std::string before = c.fault == DatabaseFault::NotRegular ? "" : ReadBytes(path);
        PlayDatabase database;
        EXPECT_EQ(database.Open(path), c.fault) << c.what;
        EXPECT_FALSE(database.IsOpen()) << c.what;
        EXPECT_NE(database.Write(RecordAfter(1), 1, GameOf(RecordAfter(1))), "") << c.what;
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0) << c.what << ": never removed";
        if (c.fault != DatabaseFault::NotRegular) {
            EXPECT_EQ(ReadBytes(path), before) << c.what << ": never written";
        }
    }
}

TEST(PlayDatabase, LockedDatabaseIsReportedAfterTheBusyTimeout) {
    TempFolder folder;
    const std::string path = folder.File("game.db");
    MakeDatabase(path, 1);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    const char* hold = "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;";
    ASSERT_EQ(sqlite3_exec(holder, hold, nullptr, nullptr, nullptr), SQLITE_OK);
    PlayDatabase database;
    EXPECT_EQ(database.Open(path), DatabaseFault::Locked);
    sqlite3_exec(holder, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(database.Open(path), DatabaseFault::Opened) << "usable once the other program lets go";
}

// Abandoned games break a streak, a game in progress is not counted, hints keep the
// win but not the best time, and the classic best times kept apart count.
TEST(PlayStatistics, LinesOfARunOfGames) {
    const auto game = [](PuzzleKind kind, std::int32_t level, GameOutcome outcome, std::uint64_t seconds,
                         std::uint32_t hints = 0) {
        return GameEntry{0, 0, kind, level, seconds, hints, 0, outcome};
    };
    using O = GameOutcome;
    const std::vector<GameEntry> games = {
        game(PuzzleKind::Classic, 1, O::Won, 300),    game(PuzzleKind::Classic, 1, O::Won, 200),
        game(PuzzleKind::Classic, 1, O::Won, 100, 3), game(PuzzleKind::Classic, 1, O::Abandoned, 50),
        game(PuzzleKind::Classic, 1, O::Won, 3700),   game(PuzzleKind::Classic, 1, O::InProgress, 10),
        game(PuzzleKind::Pasted, 0, O::Abandoned, 10)};
    BestTimes best;
    best.Record(3, 999);
    const std::vector<LevelStatistics> rows = ComputeStatistics(games, best);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(StatisticsLine(rows[0]),
              "classic easy played 5 won 4 best 3:20 average 17:55 streak 1 longest 3");
    EXPECT_EQ(StatisticsLine(rows[2]), "classic hard played 0 won 0 best 16:39 average - streak 0 longest 0");
    EXPECT_EQ(StatisticsLine(rows[3]), "logic easy played 0 won 0 best - average - streak 0 longest 0");
    EXPECT_EQ(StatisticsLine(rows[6]), "logic expert played 0 won 0 best - average - streak 0 longest 0");
    EXPECT_EQ(StatisticsLine(rows[7]), "pasted ungraded played 1 won 0 best - average - streak 0 longest 0");
    EXPECT_EQ(rows[0].WinPercent(), 80u);
    EXPECT_EQ(rows[0].lastWins, (std::vector<std::uint64_t>{300, 200, 100, 3700}));
}

}  // namespace
