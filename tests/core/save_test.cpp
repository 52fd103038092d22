// Saved-game bytes, round trip, the reader's tolerance and refusals, and safe writing.
#include "save/save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sudoku/generator.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class SavedGame : public ::testing::Test {
protected:
    void SetUp() override {
        SeedRandom(31);
        ASSERT_TRUE(board_.NewGame(Medium));
        board_.directory = folder_.string() + "/";
        board_.values[3] = {5, 0, 16, -2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 10};
    }

    std::string Path() const { return board_.directory + "game.save"; }
    void Write(const std::string& bytes) const { std::ofstream(Path(), std::ios::binary) << bytes; }
    std::string Read() const {
        std::ifstream in(Path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Loads bytes into a copy of board_ and checks the result of Load.
    SudokuBoard Loaded(const std::string& bytes, bool expected) const {
        Write(bytes);
        SudokuBoard board = board_;
        EXPECT_EQ(board.Load("game.save"), expected) << bytes.substr(0, 40);
        return board;
    }
    void ExpectSameBoard(const SudokuBoard& board) const {
        EXPECT_EQ(board.size, board_.size);
        EXPECT_EQ(board.boxSize, board_.boxSize);
        EXPECT_EQ(board.values, board_.values);
        EXPECT_EQ(board.givens, board_.givens);
    }

    TempFolder temp_;  // a folder of its own: test runs at the same time never share one
    fs::path folder_ = temp_.Path();
    SudokuBoard board_;
};

TEST_F(SavedGame, WritesSizeThenValuesThenGivensWithCrLf) {
    board_.Save("game.save");
    const std::string bytes = Read();
    EXPECT_EQ(bytes, SavedGameText(board_));
    EXPECT_EQ(bytes.substr(0, 4), "16\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 33);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 33);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), ' '), 512);
    EXPECT_EQ(bytes.find(" \r"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n 5 0 16 -2 1 1 1 1 1 1 1 1 1 1 1 10\r\n"), std::string::npos);

    SudokuBoard loaded;  // round trip
    loaded.directory = board_.directory;
    ASSERT_TRUE(loaded.Load("game.save"));
    ExpectSameBoard(loaded);
    EXPECT_TRUE(loaded.HasUnfinishedGame());
}

TEST_F(SavedGame, EmptyBoardWritesNothing) {
    Write("old");
    SudokuBoard empty;
    empty.directory = board_.directory;
    empty.Save("game.save");
    empty.Save("other.save");
    EXPECT_EQ(Read(), "old");
    EXPECT_FALSE(fs::exists(folder_ / "other.save"));
}

TEST_F(SavedGame, ReaderIgnoresLayoutAndTrailingData) {
    std::string text = SavedGameText(board_);
    std::string oneLine = text;
    std::replace(oneLine.begin(), oneLine.end(), '\n', '\t');
    std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    ExpectSameBoard(Loaded(text, true));  // LF only
    ExpectSameBoard(Loaded(oneLine, true));
    ExpectSameBoard(Loaded(text + "17 garbage\n", true));
}

TEST_F(SavedGame, ShortOrDamagedFileFillsZeros) {
    const std::string text = SavedGameText(board_);
    std::size_t valuesEnd = 0;
    for (int line = 0; line < 17; ++line) valuesEnd = text.find("\r\n", valuesEnd) + 2;
    SudokuBoard board = Loaded(text.substr(0, valuesEnd), true);  // the givens are missing
    EXPECT_EQ(board.values, board_.values);
    EXPECT_EQ(board.givens, Grid(16, std::vector<std::int32_t>(16, 0)));

    board = Loaded("16\n 1 -40 x 4 5\n", true);  // the stream stops at the first unreadable number
    EXPECT_EQ(board.values[0][1], -40);
    EXPECT_EQ(board.values[0][3], 0);
    board = Loaded("16 7 99999999999 3", true);  // beyond 32 bits counts as unreadable
    EXPECT_EQ(board.values[0][0], 7);
    EXPECT_EQ(board.values[0][1], 0);
    EXPECT_EQ(board.values[0][2], 0);
}

TEST_F(SavedGame, EmptyOrZeroFileIsAnEmptyBoard) {
    for (const char* bytes : {"", " \r\n", "0", "0\r\n 5 5 5"}) {
        const SudokuBoard board = Loaded(bytes, true);
        EXPECT_EQ(board.size, 0);
        EXPECT_EQ(board.boxSize, 0);
        EXPECT_TRUE(board.values.empty());
        EXPECT_FALSE(board.HasUnfinishedGame());
    }
}

TEST_F(SavedGame, RefusedFilesLeaveTheBoardAsItWas) {
    for (const char* bytes : {"-16\r\n", "9\r\n 1 2 3", "25\r\n", "15 1 2", "1 1 1", "2147483647 0",
                              "99999999999999999999 1", "garbage 16", "+ 16"}) {
        ExpectSameBoard(Loaded(bytes, false));
    }
    SudokuBoard board = board_;
    EXPECT_FALSE(board.Load("missing.save"));
    EXPECT_FALSE(board.Load(""));  // the folder itself
    ExpectSameBoard(board);
}

TEST_F(SavedGame, FailedSaveKeepsThePreviousFileAndLeavesNoTemporary) {
    Write("previous game");
    const auto onlyTheSave = [this] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
        EXPECT_EQ(names, std::vector<std::string>{"game.save"});
    };
    // No file can be opened at all (this stops root too, unlike a read-only folder).
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit none = old;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    board_.Save("game.save");
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(Read(), "previous game");
    onlyTheSave();

    // A write that fails part way (file size limit, as on a full disk).
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    board_.Save("game.save");
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(Read(), "previous game");
    onlyTheSave();

    board_.directory += "no such folder/";
    board_.Save("game.save");  // nothing to write into: ignored
}

}  // namespace
