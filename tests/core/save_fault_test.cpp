// Every saved game of the fuzz corpus (good files and every kind of damage found so far)
// through the reader: a file is either refused, leaving the board as it was, or read as a
// board the game can show, which Save writes and Load reads back unchanged. And the file
// system around the saved game: permission bits and links kept, planted links and
// non-regular files harmless, two processes saving at once, and what interrupted writes
// leave cleared at the next start.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "save/puzzle_file.h"
#include "save/save.h"
#include "sudoku/generator.h"
#include "support/temp_folder.h"

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
    std::string Dir() const { return folder_.string() + "/"; }
    std::string Path(const std::string& name = "game.save") const { return Dir() + name; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder temp_;  // a folder of the test's own, removed at the end
    fs::path folder_ = temp_.Path();
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

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t Mode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

SudokuBoard Game(unsigned seed, const std::string& directory) {
    SudokuBoard board;
    SeedRandom(seed);
    EXPECT_TRUE(board.NewGame(Easy));
    board.directory = directory;
    return board;
}

// Runs action in a child process; true when it ended by itself within a generous
// time (a reader that blocks forever would otherwise hang the test run).
bool EndsInAChild(const std::function<bool()>& action) {
    const pid_t child = fork();
    if (child == 0) _exit(action() ? 0 : 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SavedGameFaults, SavingKeepsThePermissionBitsAndTheFileALinkPointsTo) {
    const SudokuBoard board = Game(5, Dir());
    const std::string text = SavedGameText(board);
    // The bits are kept (a read-only file stays read-only), the owner's read bit always
    // added: a file of mode 000 is not written back unreadable.
    const std::pair<mode_t, mode_t> kModes[] = {{0600, 0600}, {0444, 0444}, {0640, 0640}, {0, 0400}, {0175, 0575}};
    for (const auto& [mode, kept] : kModes) {
        SCOPED_TRACE(mode);
        WriteBytes(Path(), "old game");
        ASSERT_EQ(chmod(Path().c_str(), mode), 0);
        board.Save("game.save");
        EXPECT_EQ(Contents(Path()), text);
        EXPECT_EQ(Mode(Path()), kept);
        fs::remove(Path());
    }
    // A new file gets what the umask gives any new file.
    const mode_t mask = umask(027);
    board.Save("game.save");
    umask(mask);
    EXPECT_EQ(Mode(Path()), 0640u);
    fs::remove(Path());

    // game.save is a link (relative, through a second link) to the file the player keeps elsewhere.
    fs::create_directory(folder_ / "kept");
    WriteBytes(Path("kept/real.save"), "old game");
    ASSERT_EQ(chmod(Path("kept/real.save").c_str(), 0600), 0);
    fs::create_symlink("kept/real.save", folder_ / "middle.save");
    fs::create_symlink("middle.save", folder_ / "game.save");
    board.Save("game.save");
    EXPECT_TRUE(fs::is_symlink(folder_ / "game.save"));
    EXPECT_EQ(fs::read_symlink(folder_ / "game.save"), "middle.save");
    EXPECT_EQ(Contents(Path("kept/real.save")), text);
    EXPECT_EQ(Mode(Path("kept/real.save")), 0600u);
    // A link to a file not there yet makes it, as writing through the link would.
    fs::remove(Path("kept/real.save"));
    board.Save("game.save");
    EXPECT_EQ(Contents(Path("kept/real.save")), text);
    EXPECT_EQ(Names(), (std::vector<std::string>{"game.save", "kept", "middle.save"})) << "no temporary left";
    EXPECT_EQ(std::vector<std::string>{"real.save"}, [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_ / "kept")) names.push_back(entry.path().filename());
        return names;
    }());
}

TEST_F(SavedGameFaults, ALinkPlantedAtTheOldTemporaryNameIsNeverWrittenThrough) {
    WriteBytes(Path("victim"), "someone else's file");
    fs::create_symlink(Path("victim"), folder_ / "game.save.tmp");
    const SudokuBoard board = Game(6, Dir());
    board.Save("game.save");
    EXPECT_EQ(Contents(Path("victim")), "someone else's file");
    EXPECT_EQ(Contents(Path()), SavedGameText(board));
    EXPECT_TRUE(fs::is_symlink(folder_ / "game.save.tmp"));
}

// A FIFO, a folder or a device under the name is refused at once and left as it is;
// a regular file too large to be a saved game is refused as damaged.
TEST_F(SavedGameFaults, AnythingButASmallRegularFileIsRefusedWithoutBlocking) {
    const SudokuBoard game = Game(7, Dir());
    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    EXPECT_TRUE(EndsInAChild([&] {
        SudokuBoard board;
        board.directory = Dir();
        return !board.Load("game.save") && board.size == 0;
    })) << "Load must refuse a FIFO without waiting for a writer";
    EXPECT_TRUE(EndsInAChild([&] {
        game.Save("game.save");
        return true;
    }));
    EXPECT_TRUE(fs::is_fifo(folder_ / "game.save"));
    fs::remove(Path());

    fs::create_symlink("/dev/zero", folder_ / "game.save");
    EXPECT_TRUE(EndsInAChild([&] {
        SudokuBoard board;
        board.directory = Dir();
        return !board.Load("game.save");
    }));
    fs::remove(Path());

    fs::create_directory(Path());
    SudokuBoard board = game;
    EXPECT_FALSE(board.Load("game.save"));
    game.Save("game.save");
    EXPECT_TRUE(fs::is_directory(Path()));
    fs::remove(Path());

    WriteBytes(Path(), SavedGameText(game) + std::string(2 << 20, ' '));
    EXPECT_FALSE(board.Load("game.save")) << "2 MB is no saved game";
    WriteBytes(Path(), SavedGameText(game) + std::string(4000, ' '));
    EXPECT_TRUE(board.Load("game.save")) << "trailing white space stays harmless";
    EXPECT_EQ(board.values, game.values);
}

// A refused write or read names the reason the player can act on, not "File exists".
TEST_F(SavedGameFaults, RefusedWritesAndReadsSayWhy) {
    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    EXPECT_EQ(WriteFailureReason(WriteFileAtomically(Path(), "x")),
              "something other than a regular file is in the file's place");
    fs::remove(Path());
    fs::create_directory(Path());
    EXPECT_EQ(WriteFailureReason(WriteFileAtomically(Path(), "x")), "a folder is in the file's place");
    fs::create_symlink("loop.b", folder_ / "loop.a");
    fs::create_symlink("loop.a", folder_ / "loop.b");
    EXPECT_EQ(WriteFailureReason(WriteFileAtomically(Path("loop.a"), "x")), "Too many levels of symbolic links");
    PuzzleInput puzzle;
    std::string error;
    EXPECT_FALSE(ReadPuzzleFile(Path("loop.a"), puzzle, error));
    EXPECT_EQ(error, Path("loop.a") + ": cannot be read: Too many levels of symbolic links");
}

// Two copies of the game ending together each write their own game while a third
// reads it: every read, and the file at the end, is one of the two games, whole, and
// no temporary is left behind.
TEST_F(SavedGameFaults, TwoProcessesSavingAtOnceNeverLeaveAMixedFile) {
    const SudokuBoard first = Game(8, Dir()), second = Game(9, Dir());
    const std::string texts[] = {SavedGameText(first), SavedGameText(second)};
    const auto whole = [&texts](const std::string& bytes) { return bytes == texts[0] || bytes == texts[1]; };
    WriteBytes(Path(), texts[0]);
    int mixed = 0, reads = 0;
    for (int trial = 0; trial < 40 && mixed == 0; ++trial) {
        int gate[2];
        ASSERT_EQ(pipe(gate), 0);
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            children[i] = fork();
            if (children[i] == 0) {
                close(gate[1]);
                char byte;
                (void)!read(gate[0], &byte, 1);  // both start when the gate closes
                for (int save = 0; save < 5; ++save) (i == 0 ? first : second).Save("game.save");
                _exit(0);
            }
        }
        close(gate[0]);
        close(gate[1]);
        int running = 2;
        while (running > 0) {
            ++reads;
            if (!whole(Contents(Path()))) ++mixed;
            for (pid_t& child : children) {
                if (child > 0 && waitpid(child, nullptr, WNOHANG) == child) {
                    child = 0;
                    --running;
                }
            }
        }
        if (!whole(Contents(Path()))) ++mixed;
    }
    EXPECT_EQ(mixed, 0) << "in " << reads << " reads";
    EXPECT_EQ(Names(), std::vector<std::string>{"game.save"});
}

// Only the game's own temporaries that nobody has touched for a minute are removed:
// never the player's own copies, whatever their names.
TEST_F(SavedGameFaults, StaleTemporariesOfTheGamesFilesAreRemovedAndNothingElse) {
    const std::pair<const char*, bool> kEntries[] = {  // name, removed when old
        {".game.state.veltrane-tmp-a1B2c3", true}, {".game.save.veltrane-tmp-ZZZZZZ", true},
        {".best-times.veltrane-tmp-000000", true}, {".game.state.veltrane-tmp-a1B2c", false},
        {".game.state.veltrane-tmp-a1B2c3d", false}, {".game.state.veltrane-tmp-a1-2c3", false},
        {".notes.txt.veltrane-tmp-a1B2c3", false}, {"game.state", false}, {"game.save.backup", false},
        {"best-times.copy01", false}, {"game.state.a1B2c3", false}, {"game.save.tmp", false}};
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const auto& [name, removed] : kEntries) {
        WriteBytes(Path(name), "x");
        fs::last_write_time(Path(name), old);
    }
    WriteBytes(Path(".game.settings.veltrane-tmp-fresh1"), "x");  // a copy of the game is writing it now
    WriteBytes(Path(".game.save.veltrane-tmp-nobody"), "x");
    fs::last_write_time(Path(".game.save.veltrane-tmp-nobody"), old);
    const bool someoneElses = chown(Path(".game.save.veltrane-tmp-nobody").c_str(), 65534, 65534) == 0;  // as root
    const int removed =
        RemoveStaleTemporaries(Dir(), {"game.save", "game.state", "game.settings", "best-times"}, time(nullptr) - 60);
    EXPECT_EQ(removed, someoneElses ? 3 : 4);
    EXPECT_EQ(fs::exists(Path(".game.save.veltrane-tmp-nobody")), someoneElses);
    for (const auto& [name, gone] : kEntries) EXPECT_EQ(fs::exists(Path(name)), !gone) << name;
    EXPECT_TRUE(fs::exists(Path(".game.settings.veltrane-tmp-fresh1")));
}

}  // namespace
