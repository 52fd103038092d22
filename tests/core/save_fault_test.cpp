// Every saved game of the fuzz corpus (good files and every kind of damage found so far)
// through the reader: a file is either refused, leaving the board as it was, or read as a
// board the game can show, which Save writes and Load reads back unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "save/save.h"
#include "sudoku/generator.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> SavedGameCorpus() {
    const fs::path folder = fs::path(VELTRANE_TESTS_DIR) / "fuzz" / "corpus" / "save_load";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool HasShape(const Grid& grid, std::size_t n) {
    return grid.size() == n &&
           std::all_of(grid.begin(), grid.end(), [n](const auto& row) { return row.size() == n; });
}

class SavedGameFaults : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / "veltrane_core_save_faults";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Dir() const { return folder_.string() + "/"; }

    fs::path folder_;
};

TEST_F(SavedGameFaults, EveryCorpusFileIsRefusedOrReadAsABoardThatSurvivesSaveAndLoad) {
    const auto files = SavedGameCorpus();
    ASSERT_GE(files.size(), 20u);
    int accepted = 0, refused = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        fs::copy_file(file, folder_ / "game.save", fs::copy_options::overwrite_existing);
        // A board with a game in it, to see that a refused file leaves it alone.
        SudokuBoard board;
        SeedRandom(3);
        ASSERT_TRUE(board.NewGame(Medium));
        board.directory = Dir();
        const SudokuBoard before = board;
        if (!board.Load("game.save")) {
            ++refused;
            EXPECT_EQ(board.size, before.size);
            EXPECT_EQ(board.boxSize, before.boxSize);
            EXPECT_EQ(board.values, before.values);
            EXPECT_EQ(board.givens, before.givens);
            continue;
        }
        ++accepted;
        ASSERT_TRUE(board.size == 0 || board.size == kSavedBoardSize) << board.size;
        EXPECT_EQ(board.boxSize * board.boxSize, board.size);
        EXPECT_TRUE(HasShape(board.values, static_cast<std::size_t>(board.size)));
        EXPECT_TRUE(HasShape(board.givens, static_cast<std::size_t>(board.size)));

        fs::remove(folder_ / "again.save");
        board.Save("again.save");
        SudokuBoard again;
        again.directory = Dir();
        if (board.size == 0) {
            EXPECT_FALSE(fs::exists(folder_ / "again.save")) << "an empty board writes nothing";
            continue;
        }
        ASSERT_TRUE(again.Load("again.save"));
        EXPECT_EQ(again.values, board.values);
        EXPECT_EQ(again.givens, board.givens);
        EXPECT_EQ(again.HasUnfinishedGame(), board.HasUnfinishedGame());
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
