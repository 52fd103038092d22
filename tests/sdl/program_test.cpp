// The game executable as a player or a desktop starts it: the frame lock that
// cannot be made, no display, ending on a signal with the game saved, an
// installed copy that finds its data, and saves that survive a folder the game
// may not write to.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "engine_test_fixture.h"
#include "support/boards.h"
#include "sudoku/board.h"

namespace {

namespace fs = std::filesystem;

const std::string BuildDir = VELTRANE_BUILD_DIR;
const char* DataNames[] = {"bgp.jpg",  "circle2.png", "cursor.png", "font1.fnt",
                           "font1.png", "menu.wav",   "select.bmp", "unselect.bmp"};

struct Outcome {
    int status = -1;  // exit status, or 128 + signal
    std::string errors;
};

// A started copy of the game: its standard error goes to a file.
class Process {
public:
    Process(const std::string& program, const std::map<std::string, std::string>& env,
            const std::string& errorFile, uid_t asUser = 0)
        : errorFile(errorFile) {
        pid = fork();
        if (pid != 0) return;
        for (const auto& [name, value] : env) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        if (!freopen(errorFile.c_str(), "w", stderr)) _exit(126);
        if (asUser != 0 && (setgid(asUser) != 0 || setuid(asUser) != 0)) _exit(125);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Waits for the end (killing the copy after the time-out).
    Outcome Wait(std::chrono::seconds timeout = std::chrono::seconds(20)) {
        Outcome outcome;
        const auto end = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.errors = ReadFile(errorFile);
        return outcome;
    }
    void Signal(int signal) { kill(pid, signal); }

private:
    pid_t pid = -1;
    std::string errorFile;
};

// Waits until path exists (the game writes its log line on start-up) or time runs out.
bool WaitForFile(const std::string& path, std::chrono::seconds timeout = std::chrono::seconds(15)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A portable copy of the game: the executable and its data in one folder.
void CopyGame(const fs::path& folder) {
    fs::copy_file(BuildDir + "/veltrane-sudoku", folder / "veltrane-sudoku");
    for (const char* name : DataNames) fs::copy_file(BuildDir + "/" + name, folder / name);
}

// An unfinished game written with LF line ends only: the game's own save writes CR LF,
// so the line ends tell whether the game saved it again.
SudokuBoard WriteLfGame(const std::string& path) {
    SudokuBoard board = EmptyBoard();
    board.values[0][0] = board.givens[0][0] = 5;
    board.values[3][7] = 12;
    std::string text = "16\n";
    for (const Grid* grid : {&board.values, &board.givens}) {
        for (const auto& row : *grid) {
            for (int v : row) text += " " + std::to_string(v);
            text += "\n";
        }
    }
    WriteFile(path, text);
    return board;
}

void ExpectSavedAgain(const std::string& path, const SudokuBoard& expected) {
    const std::string bytes = ReadFile(path);
    EXPECT_NE(bytes.find("\r\n"), std::string::npos) << "the game saved on its way out";
    SudokuBoard loaded;
    loaded.directory = fs::path(path).parent_path().string() + "/";
    ASSERT_TRUE(loaded.Load("game.save"));
    EXPECT_EQ(loaded.values, expected.values);
    EXPECT_EQ(loaded.givens, expected.givens);
}

const std::map<std::string, std::string> Headless = {{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}};

std::map<std::string, std::string> With(std::map<std::string, std::string> env,
                                        const std::map<std::string, std::string>& more) {
    for (const auto& [k, v] : more) env[k] = v;
    return env;
}

}  // namespace

TEST(Program, WithoutTheFrameLockItSaysSoAndExitsBeforeAnyWindow) {
    TempFolder temp;
    CopyGame(temp.path);
    Process game((temp.path / "veltrane-sudoku").string(),
                 With(Headless, {{"XDG_RUNTIME_DIR", "/nonexistent/run"}}), temp.File("stderr"));
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.errors, "Can't create mutex\n");
    EXPECT_FALSE(fs::exists(temp.File("gk_sudoku.log")));
}

TEST(Program, WithoutADisplayItReportsTheReasonAndTouchesNoSavedGame) {
    TempFolder temp;
    CopyGame(temp.path);
    WriteFile(temp.File("game.save"), "16\n");
    Process game((temp.path / "veltrane-sudoku").string(),
                 With(Headless, {{"SDL_VIDEODRIVER", "no-such-driver"}}), temp.File("stderr"));
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_FALSE(outcome.errors.empty());
    EXPECT_EQ(ReadFile(temp.File("game.save")), "16\n");
}

// SDL would fall back to its offscreen driver and the game would run unseen.
TEST(Program, WithNoDisplayAndNoDriverNamedItSaysSoInsteadOfRunningUnseen) {
    TempFolder temp;
    CopyGame(temp.path);
    WriteFile(temp.File("game.save"), "16\n");
    Process game((temp.path / "veltrane-sudoku").string(),
                 {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_AUDIODRIVER", "dummy"}},
                 temp.File("stderr"));
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.errors.find("cannot start the engine: no display found"), std::string::npos)
        << outcome.errors;
    EXPECT_EQ(ReadFile(temp.File("game.save")), "16\n");
    EXPECT_EQ(ReadFile(temp.File("gk_sudoku.log")).find("Engine started"), std::string::npos);
}

TEST(Program, TerminationSignalsEndTheGameWithTheGameSaved) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempFolder temp;
        CopyGame(temp.path);
        const SudokuBoard board = WriteLfGame(temp.File("game.save"));
        Process game((temp.path / "veltrane-sudoku").string(), Headless, temp.File("stderr"));
        ASSERT_TRUE(WaitForFile(temp.File("gk_sudoku.log")));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few frames
        game.Signal(signal);
        const Outcome outcome = game.Wait();
        EXPECT_EQ(outcome.status, 0) << "signal " << signal << ": " << outcome.errors;
        ExpectSavedAgain(temp.File("game.save"), board);
    }
}

// Installs the build into a fresh prefix.
void InstallInto(const fs::path& prefix) {
    const std::string command = std::string(VELTRANE_CMAKE_COMMAND) + " --install " + BuildDir + " --prefix " +
                                prefix.string() + " > " + (prefix / "install.log").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile((prefix / "install.log").string());
}

TEST(Program, InstalledGameFindsItsDataAndDesktopFiles) {
    TempFolder temp;
    InstallInto(temp.path);
    const fs::path share = temp.path / "share";
    EXPECT_TRUE(fs::exists(temp.path / "bin/veltrane-sudoku"));
    for (const char* name : DataNames) EXPECT_TRUE(fs::exists(share / "veltrane-sudoku" / name)) << name;
    EXPECT_TRUE(fs::exists(share / "applications/org.quorvel.VeltraneSudoku.desktop"));
    EXPECT_TRUE(fs::exists(share / "metainfo/org.quorvel.VeltraneSudoku.metainfo.xml"));
    EXPECT_TRUE(fs::exists(share / "icons/hicolor/32x32/apps/org.quorvel.VeltraneSudoku.png"));
    EXPECT_TRUE(fs::exists(share / "icons/hicolor/16x16/apps/org.quorvel.VeltraneSudoku.png"));

    // Started from another folder, it finds its data beside it in share/ and runs.
    fs::create_directory(temp.path / "elsewhere");
    const std::string saves = (temp.path / "elsewhere").string();
    Process game((temp.path / "bin/veltrane-sudoku").string(),
                 With(Headless, {{"XDG_DATA_HOME", saves}, {"HOME", saves}}), temp.File("stderr"));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    game.Signal(SIGTERM);
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.errors.find("Can't load"), std::string::npos) << outcome.errors;
}

TEST(Program, SavesGoToTheUserFolderWhenTheProgramFolderIsReadOnly) {
    TempFolder temp;
    InstallInto(temp.path);
    const fs::path home = temp.path / "home";
    const fs::path userFolder = home / "data/veltrane-sudoku";
    fs::create_directories(userFolder);
    const SudokuBoard board = WriteLfGame((userFolder / "game.save").string());

    // The program folder must really be read-only for the player: root writes anywhere,
    // so as root the game runs as the unprivileged user "nobody".
    const uid_t nobody = 65534;
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        fs::permissions(temp.path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
        for (const auto& entry : fs::recursive_directory_iterator(home))
            if (chown(entry.path().c_str(), nobody, nobody) != 0) FAIL() << "chown";
        ASSERT_EQ(chown(home.c_str(), nobody, nobody), 0);
    } else {
        fs::permissions(temp.path / "bin", fs::perms::owner_write, fs::perm_options::remove);
    }
    Process game((temp.path / "bin/veltrane-sudoku").string(),
                 With(Headless, {{"XDG_DATA_HOME", (home / "data").string()},
                                 {"HOME", home.string()},
                                 {"XDG_RUNTIME_DIR", ""}}),
                 (home / "stderr").string(), asRoot ? nobody : 0);
    ASSERT_TRUE(WaitForFile((userFolder / "gk_sudoku.log").string())) << ReadFile((home / "stderr").string());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    game.Signal(SIGTERM);
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    ExpectSavedAgain((userFolder / "game.save").string(), board);
    EXPECT_FALSE(fs::exists(temp.path / "bin/game.save"));
    EXPECT_FALSE(fs::exists(temp.path / "bin/gk_sudoku.log"));
    fs::permissions(temp.path / "bin", fs::perms::owner_all, fs::perm_options::add);
}
