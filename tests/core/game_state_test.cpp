// The game's second file: round trip, the fingerprint, every kind of damage refused, and
// the reader's refusals of foreign, newer, oversized, missing and non-regular files.
#include "save/game_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "save/state_reconcile.h"
#include "sudoku/generator.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kFingerprint = 0x0123456789abcdefull;

bool operator==(const PlayRecord& a, const PlayRecord& b) {
    return a.playSeconds == b.playSeconds && a.hintsUsed == b.hintsUsed && a.origin == b.origin && a.board == b.board &&
           a.notes == b.notes && a.undo == b.undo && a.redo == b.redo;
}

// A game in progress: notes here and there, three undo steps (one of two changes) and a redo step.
PlayRecord SampleRecord() {
    PlayRecord record;
    record.playSeconds = 4321;
    record.hintsUsed = 3;
    record.origin = {PuzzleKind::Logic, 3, 1};
    record.board[0][0] = 16;
    record.board[4][4] = 7;
    record.notes[0][1] = 0x0001;
    record.notes[7][8] = 0x8421;
    record.notes[15][15] = 0xffff;
    record.undo = {{2, 3, 0, 16, 0x0006, 0, true},
                   {2, 9, 0, 0, 0x8000, 0x0000, false},
                   {15, 0, 0, 0, 0, 0x0100, true},
                   {4, 4, 7, 0, 0, 0, true}};
    record.redo = {{4, 4, 0, 12, 0, 0, true}};
    return record;
}

class GameStateFile : public ::testing::Test {
protected:
    std::string Path() const { return (folder_ / "game.state").string(); }
    void Write(const std::string& bytes) const { std::ofstream(Path(), std::ios::binary) << bytes; }
    std::string Read() const {
        std::ifstream in(Path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempFolder temp_;  // a folder of the test's own, removed at the end
    fs::path folder_ = temp_.Path();
};

TEST_F(GameStateFile, RecordWithNotesAndHistoryComesBackUnchanged) {
    const PlayRecord saved = SampleRecord();
    ASSERT_TRUE(SavePlayRecord(Path(), saved, kFingerprint));
    EXPECT_EQ(Read(), PlayRecordText(saved, kFingerprint));
    EXPECT_EQ(Read().substr(0, 29), "veltrane-sudoku game.state 2\n");
    EXPECT_FALSE(fs::exists(Path() + ".tmp"));

    PlayRecord loaded;
    ASSERT_TRUE(LoadPlayRecord(Path(), kFingerprint, loaded));
    EXPECT_TRUE(loaded == saved);

    // An empty record (a new game) too.
    ASSERT_TRUE(SavePlayRecord(Path(), PlayRecord{}, kFingerprint));
    ASSERT_TRUE(LoadPlayRecord(Path(), kFingerprint, loaded));
    EXPECT_TRUE(loaded == PlayRecord{});
}

TEST(GameFingerprint, FollowsTheGivensAndValuesOfTheBoard) {
    SudokuBoard board;
    SeedRandom(5);
    ASSERT_TRUE(board.NewGame(Hard));
    const std::uint64_t fingerprint = GameFingerprint(board);
    EXPECT_EQ(GameFingerprint(SudokuBoard(board)), fingerprint);

    SudokuBoard played = board;
    for (int cell = 0; cell < 256 && played.values == board.values; ++cell)
        if (!played.IsGiven(cell / 16, cell % 16)) played.values[cell / 16][cell % 16] = 1;
    EXPECT_NE(GameFingerprint(played), fingerprint) << "a state from before a move is not applied after it";

    SudokuBoard other = board;
    other.givens[0][0] = other.givens[0][0] == 0 ? 5 : 0;
    EXPECT_NE(GameFingerprint(other), fingerprint);
    EXPECT_NE(GameFingerprint(SudokuBoard{}), fingerprint);
}

// Replaces the first occurrence of what in text; the mutation must apply.
std::string Mutated(std::string text, const std::string& what, const std::string& with) {
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    if (at != std::string::npos) text.replace(at, what.size(), with);
    return text;
}

TEST(PlayRecordText, EveryKindOfDamageIsRefusedAndLeavesTheRecordAlone) {
    const std::string good = PlayRecordText(SampleRecord(), kFingerprint);
    const std::string change = "1 2 3 0 16 0006 0000\n";
    ASSERT_NE(good.find(change), std::string::npos);
    const std::pair<const char*, std::string> kDamaged[] = {
        {"empty", ""},
        {"other format", Mutated(good, "game.state", "game.save")},
        {"newer version", Mutated(good, "state 2\n", "state 3\n")},
        {"version 0", Mutated(good, "state 2\n", "state 0\n")},
        {"version with leading zero", Mutated(good, "state 2\n", "state 02\n")},
        {"CR LF line ends", Mutated(good, "state 2\n", "state 2\r\n")},
        {"short fingerprint", Mutated(good, "0123456789abcdef", "0123456789abcde")},
        {"upper-case fingerprint", Mutated(good, "0123456789abcdef", "0123456789ABCDEF")},
        {"seconds missing", Mutated(good, "seconds 4321", "seconds ")},
        {"negative seconds", Mutated(good, "seconds 4321", "seconds -4321")},
        {"seconds past 64 bits", Mutated(good, "seconds 4321", "seconds 18446744073709551616")},
        {"seconds with leading zero", Mutated(good, "seconds 4321", "seconds 04321")},
        {"seconds over 100 years", Mutated(good, "seconds 4321", "seconds 3155760001")},
        {"hints past 32 bits", Mutated(good, "hints 3", "hints 4294967296")},
        {"hints 2^32 - 1", Mutated(good, "hints 3", "hints 4294967295")},
        {"hints past the game's count", Mutated(good, "hints 3", "hints 1000001")},
        {"hints missing", Mutated(good, "hints 3\n", "")},
        {"unknown puzzle kind", Mutated(good, "puzzle logic", "puzzle magic")},
        {"puzzle level 4", Mutated(good, "puzzle logic 3 1", "puzzle logic 4 1")},
        {"logic puzzle without a level", Mutated(good, "puzzle logic 3 1", "puzzle logic 0 1")},
        {"classic puzzle at Expert", Mutated(good, "puzzle logic 3 1", "puzzle classic 5 1")},
        {"board value 17", Mutated(good, "board\n16 ", "board\n17 ")},
        {"board row short", Mutated(good, "board\n16 0 ", "board\n16 ")},
        {"notes beyond 16 bits", Mutated(good, "8421", "18421")},
        {"notes not hex", Mutated(good, "8421", "84g1")},
        {"notes row short", Mutated(good, " ffff\n", "\n")},
        {"notes row long", Mutated(good, " ffff\n", " ffff 0000\n")},
        {"two spaces", Mutated(good, "0000 0001", "0000  0001")},
        {"undo count too high", Mutated(good, "undo 4", "undo 5")},
        {"undo count too low", Mutated(good, "undo 4", "undo 3")},
        {"redo count too high", Mutated(good, "redo 1", "redo 2")},
        {"count beyond the limit", Mutated(good, "undo 4", "undo 2000001")},
        {"count past 64 bits", Mutated(good, "undo 4", "undo 99999999999999999999")},
        {"row 16", Mutated(good, change, "1 16 3 0 16 0006 0000\n")},
        {"column 16", Mutated(good, change, "1 2 16 0 16 0006 0000\n")},
        {"value 17", Mutated(good, change, "1 2 3 0 17 0006 0000\n")},
        {"negative value", Mutated(good, change, "1 2 3 -1 16 0006 0000\n")},
        {"step flag 2", Mutated(good, change, "2 2 3 0 16 0006 0000\n")},
        {"change notes beyond 16 bits", Mutated(good, change, "1 2 3 0 16 10006 0000\n")},
        {"change field missing", Mutated(good, change, "1 2 3 0 16 0006\n")},
        {"change field extra", Mutated(good, change, "1 2 3 0 16 0006 0000 0\n")},
        {"undo not opening a step", Mutated(good, change, "0 2 3 0 16 0006 0000\n")},
        {"redo not opening a step", Mutated(good, "1 4 4 0 12", "0 4 4 0 12")},
        {"end missing", Mutated(good, "end\n", "")},
        {"last line end missing", Mutated(good, "end\n", "end")},
        {"trailing garbage", good + "x"},
        {"trailing line", good + "\n"},
        {"cut in the middle", good.substr(0, good.size() / 2)},
        {"NUL inside", Mutated(good, "notes\n", std::string("notes\0\n", 7))},
    };
    for (const auto& [name, text] : kDamaged) {
        PlayRecord record = SampleRecord();
        record.playSeconds = 99;
        EXPECT_FALSE(ParsePlayRecord(text, kFingerprint, record)) << name;
        EXPECT_EQ(record.playSeconds, 99u) << name;
    }
    PlayRecord record;
    EXPECT_TRUE(ParsePlayRecord(good, kFingerprint, record)) << "the mutations apply to a good text";
    EXPECT_TRUE(ParsePlayRecord(Mutated(good, "puzzle logic 3 1", "puzzle logic 5 1"), kFingerprint, record));
    EXPECT_EQ(record.origin.level, Expert);
}

// A file of the first version (no hints, no board) still loads, and the longest play
// time a file may hold is read back.
TEST(PlayRecordText, FirstVersionFilesStillLoad) {
    PlayRecord sample = SampleRecord();
    sample.playSeconds = kMaxPlaySeconds;
    std::string text = Mutated(PlayRecordText(sample, kFingerprint), "state 2\n", "state 1\n");
    text.erase(text.find("hints "), text.find("notes\n") - text.find("hints "));
    PlayRecord record;
    ASSERT_TRUE(ParsePlayRecord(text, kFingerprint, record));
    EXPECT_TRUE(record.hintsUsed == 0 && record.board == BoardValues{} && record.notes == sample.notes &&
                record.undo == sample.undo && record.playSeconds == kMaxPlaySeconds);
}

TEST(PlayRecordText, HistoryUpToTheLimitIsReadAndOneChangeMoreIsRefused) {
    PlayRecord longest;
    longest.undo.assign(kMaxHistoryChanges, CellChange{15, 15, 16, 16, 0xffff, 0xffff, true});
    const std::string text = PlayRecordText(longest, kFingerprint);
    EXPECT_LE(text.size(), kMaxPlayRecordBytes) << "the longest history must fit the size cap";
    PlayRecord record;
    EXPECT_TRUE(ParsePlayRecord(text, kFingerprint, record));
    EXPECT_EQ(record.undo.size(), kMaxHistoryChanges);
    // The limit holds for undo and redo together.
    EXPECT_FALSE(
        ParsePlayRecord(Mutated(text, "redo 0\n", "redo 1\n1 0 0 0 0 0000 0000\n"), kFingerprint, record));

    longest.redo.push_back(longest.undo.back());
    EXPECT_FALSE(SavePlayRecord("unused-path", longest, kFingerprint))
        << "nothing the reader refuses is written";
    EXPECT_FALSE(fs::exists("unused-path"));
}

TEST_F(GameStateFile, ForeignGameAndNewerVersionAreIgnored) {
    PlayRecord record;
    ASSERT_TRUE(SavePlayRecord(Path(), SampleRecord(), kFingerprint + 1));
    EXPECT_FALSE(LoadPlayRecord(Path(), kFingerprint, record));
    EXPECT_TRUE(record == PlayRecord{});

    Write(Mutated(PlayRecordText(SampleRecord(), kFingerprint), "state 2\n", "state 3\n"));
    EXPECT_FALSE(LoadPlayRecord(Path(), kFingerprint, record));
    EXPECT_TRUE(record == PlayRecord{});
}

TEST_F(GameStateFile, OversizedFileIsRefusedWithoutBeingRead) {
    // A sparse file of a terabyte: reading it would exhaust memory or never end.
    Write(PlayRecordText(SampleRecord(), kFingerprint));
    std::error_code error;
    fs::resize_file(Path(), std::uintmax_t{1} << 40, error);
    if (error) fs::resize_file(Path(), kMaxPlayRecordBytes + 1);
    PlayRecord record;
    EXPECT_FALSE(LoadPlayRecord(Path(), kFingerprint, record));
    EXPECT_FALSE(ParsePlayRecord(std::string(kMaxPlayRecordBytes + 1, ' '), kFingerprint, record));
}

TEST_F(GameStateFile, MissingFileFolderAndPipeAreRefusedWithoutBlocking) {
    PlayRecord record;
    EXPECT_FALSE(LoadPlayRecord(Path(), kFingerprint, record));
    fs::create_directory(Path());
    EXPECT_FALSE(LoadPlayRecord(Path(), kFingerprint, record));
    fs::remove(Path());
    // Nobody writes to the pipe: a blocking open or read would never return.
    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    EXPECT_FALSE(LoadPlayRecord(Path(), kFingerprint, record));
    EXPECT_TRUE(record == PlayRecord{});
}

// game.state written at step `at` of a three-step game, game.save at another board of
// the same game (or of another puzzle): what of the state is kept.
TEST(GameStateFit, WhatIsStillTrueOfAnEarlierStateIsKept) {
    std::vector<SudokuBoard> boards(1);  // boards[k]: after k steps; step k writes k + 1 into free cell k
    SudokuBoard other;
    SeedRandom(4);
    ASSERT_TRUE(boards[0].NewGame(Easy) && other.NewGame(Easy));
    std::vector<std::pair<int, int>> free;
    for (int cell = 0; cell < 256; ++cell)
        if (!boards[0].IsGiven(cell / 16, cell % 16)) free.emplace_back(cell / 16, cell % 16);
    std::vector<CellChange> steps;
    for (int k = 0; k < 3; ++k) {
        steps.push_back({std::uint8_t(free[k].first), std::uint8_t(free[k].second), 0, std::uint8_t(k + 1), 0, 0, true});
        boards.push_back(boards.back());
        boards.back().values[free[k].first][free[k].second] = k + 1;
    }
    const auto [r3, c3] = free[3];  // noted, empty throughout
    const auto [r4, c4] = free[4];  // noted, filled by a move the state missed
    SudokuBoard moved = boards[2], damaged = boards[2];
    moved.values[r4][c4] = 9;
    damaged.values[r4][c4] = 99;
    const std::tuple<std::size_t, const SudokuBoard&, StateFit, std::size_t, std::size_t> kRows[] = {
        {2, boards[2], StateFit::Exact, 2, 1}, {2, boards[1], StateFit::Undone, 1, 2},
        {2, boards[0], StateFit::Undone, 0, 3}, {1, boards[3], StateFit::Redone, 3, 0},
        {2, moved, StateFit::Bridged, 3, 0},    {2, damaged, StateFit::NoHistory, 0, 0},
        {2, other, StateFit::Foreign, 2, 1}};  // state at step, saved board, fit, undo and redo steps after
    int row = 0;
    for (const auto& [at, saved, fit, undo, redo] : kRows) {
        SCOPED_TRACE(row++);
        PlayRecord record;
        record.playSeconds = 77;
        record.board = BoardValuesOf(boards[at]);
        record.undo.assign(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(at));
        record.redo.assign(steps.rbegin(), steps.rend() - static_cast<std::ptrdiff_t>(at));
        record.notes[r3][c3] = 3;
        record.notes[r4][c4] = 4;
        EXPECT_EQ(FitGameState(record, GameFingerprint(boards[at]), saved), fit);
        EXPECT_EQ(record.undo.size(), undo);
        EXPECT_EQ(record.redo.size(), redo);
        EXPECT_EQ(record.playSeconds, 77u);
        EXPECT_EQ(record.notes[r3][c3], 3);
        EXPECT_EQ(record.notes[r4][c4], saved.values[r4][c4] == 0 ? 4 : 0);
        Grid values = saved.values;  // undoing every step leads from the saved board to the start
        for (auto change = record.undo.rbegin(); change != record.undo.rend(); ++change)
            values[change->row][change->column] = change->valueBefore;
        if (fit != StateFit::Foreign && fit != StateFit::NoHistory) { EXPECT_EQ(values, boards[0].values); }
    }
    PlayRecord firstVersion;  // no board: used for its own game only
    EXPECT_EQ(FitGameState(firstVersion, GameFingerprint(boards[2]), boards[1]), StateFit::Foreign);
}

}  // namespace
