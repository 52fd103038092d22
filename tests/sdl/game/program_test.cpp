// The game executable as a player or a desktop starts it: the frame lock that
// cannot be made, no display, ending on a signal with the game saved (also while
// another copy holds the frame lock), an installed copy that finds its data, saves
// that survive a folder the game may not write to, and a puzzle file named on the
// command line.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "app/startup.h"
#include "app/states.h"
#include "platform/frame_lock.h"
#include "save/save.h"
#include "sdl/engine_test_fixture.h"
#include "sudoku/board.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/puzzle_code.h"
#include "support/boards.h"
#include "support/play_record_reader.h"

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
            const std::string& errorFile, uid_t asUser = 0, const std::string& argument = {})
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
        const char* first = argument.empty() ? nullptr : argument.c_str();
        execl(program.c_str(), program.c_str(), first, static_cast<char*>(nullptr));
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
    // Waits until the copy catches the signal (its engine has started and set its stop
    // handlers), it ended, or the time-out passed; true in the first case.
    bool WaitUntilCatching(int signal, std::chrono::seconds timeout = std::chrono::seconds(20)) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            std::ifstream status("/proc/" + std::to_string(pid) + "/status");
            if (!status) return false;
            for (std::string line; std::getline(status, line);) {
                if (line.rfind("State:\tZ", 0) == 0) return false;  // it ended
                if (line.rfind("SigCgt:", 0) == 0 &&
                    (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1)
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

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

// A copy that only looked (the main menu, no move) leaves the saved game as it finds it
// at its end: another copy may have saved its own moves there meanwhile.
void ExpectLeftAsItWas(const std::string& path, const std::string& bytes) {
    EXPECT_EQ(ReadFile(path), bytes) << "a copy without changes of its own wrote the saved game";
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

// Headless, with the test's own folder (private, made by mkdtemp) for the frame lock.
std::map<std::string, std::string> HeadlessIn(const TempFolder& temp) {
    return With(Headless, {{"XDG_RUNTIME_DIR", temp.Path()}});
}

// Another copy of the game holding the frame lock of runtimeDir until it is killed.
class LockHolder {
public:
    explicit LockHolder(const std::string& runtimeDir) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
            auto lock = CreateNamedMutex(FrameMutexName, AppDataName);
            const char byte = 'h';
            if (!lock || !lock->Wait() || write(ready[1], &byte, 1) != 1) _exit(1);
            for (;;) pause();
        }
        close(ready[1]);
        char byte = 0;
        holding = pid > 0 && read(ready[0], &byte, 1) == 1;
        close(ready[0]);
    }
    ~LockHolder() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool Holding() const { return holding; }

private:
    pid_t pid = -1;
    bool holding = false;
};

// An X server of the test's own on a free display, reached by abstract socket only,
// without a lock file; display is ":N" once it is ready.
struct OwnXServer {
    explicit OwnXServer(const TempFolder& temp)
        : script(WriteScript(temp)), server(script, {}, temp.File("xvfb.log")) {
        std::string number;  // and a line end, once it is ready
        for (int i = 0; i < 500 && number.find('\n') == std::string::npos; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            number = ReadFile(temp.File("display"));
        }
        display = ":" + number.substr(0, number.find('\n'));
    }
    ~OwnXServer() {
        server.Signal(SIGKILL);
        server.Wait();
    }
    OwnXServer(const OwnXServer&) = delete;
    OwnXServer& operator=(const OwnXServer&) = delete;
    static std::string WriteScript(const TempFolder& temp) {
        WriteFile(temp.File("xvfb"), "#!/bin/sh\nexec Xvfb -displayfd 3 -nolisten tcp -nolisten unix -nolock 3>" +
                                         temp.File("display") + "\n");
        fs::permissions(temp.File("xvfb"), fs::perms::owner_all);
        return temp.File("xvfb");
    }
    std::string script;
    Process server;
    std::string display;
};

// A socket for X display number at the abstract address Xlib tries first: listening,
// or connected to the server there; -1 when that cannot be.
int DisplaySocket(int number, bool listening) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto* at = reinterpret_cast<const sockaddr*>(&address);
    if (listening ? bind(fd, at, length) == 0 && listen(fd, 8) == 0 : connect(fd, at, length) == 0) return fd;
    close(fd);
    return -1;
}

// A busy X server on a display of its own: it closes the first `refused` connections
// unanswered, as a server whose queue of new connections is full refuses them, and
// relays the later ones to the real server.
class BusyDisplay {
public:
    BusyDisplay(const std::string& realDisplay, int refused) {
        for (number = 240; number < 300 && (listener = DisplaySocket(number, true)) < 0; ++number) {
        }
        acceptor = std::thread([this, real = std::stoi(realDisplay.substr(1)), refused] {
            for (int fd; (fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                const int server = ++connections <= refused ? -1 : DisplaySocket(real, false);
                if (server < 0) close(fd);
                if (server >= 0) relays.emplace_back(Relay, fd, server);
            }
        });
    }
    ~BusyDisplay() {
        shutdown(listener, SHUT_RDWR);
        acceptor.join();
        for (std::thread& relay : relays) relay.join();
        close(listener);
    }
    BusyDisplay(const BusyDisplay&) = delete;
    BusyDisplay& operator=(const BusyDisplay&) = delete;
    std::string Display() const { return ":" + std::to_string(number); }

    int number = 0;
    int listener = -1;
    std::atomic<int> connections{0};

private:
    // Copies bytes both ways until either side closes.
    static void Relay(int a, int b) {
        pollfd ends[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
        char buffer[65536];
        for (bool open = true; open && poll(ends, 2, -1) > 0;) {
            for (int i = 0; i < 2 && open; ++i) {
                const ssize_t got = ends[i].revents == 0 ? 0 : read(ends[i].fd, buffer, sizeof buffer);
                open = ends[i].revents == 0 || (got > 0 && write(ends[1 - i].fd, buffer, size_t(got)) == got);
            }
        }
        close(a);
        close(b);
    }
    std::thread acceptor;
    std::vector<std::thread> relays;
};

}  // namespace

// The X server goes away under a running game: it ends at once, with one line on
// standard error, instead of waiting for ever on the dead connection.
TEST(Program, ALostDisplayEndsTheGameWithOneLine) {
    if (std::system("command -v Xvfb > /dev/null") != 0) GTEST_SKIP() << "Xvfb is not installed";
    TempFolder temp;
    CopyGame(fs::path(temp.Path()));
    WriteLfGame(temp.File("game.save"));
    const std::string saved = ReadFile(temp.File("game.save"));
    OwnXServer x(temp);
    Process& server = x.server;
    const std::string& display = x.display;
    Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(),
                 With(HeadlessIn(temp), {{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", display}}), temp.File("stderr"));
    EXPECT_TRUE(game.WaitUntilCatching(SIGTERM)) << "the game did not start on " << display;  // both are ended below
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few frames
    server.Signal(SIGKILL);
    server.Wait();
    const Outcome outcome = game.Wait(std::chrono::seconds(10));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.errors, "Quorvel Veltrane Sudoku: lost the connection to the display; the game is saved\n");
    ExpectLeftAsItWas(temp.File("game.save"), saved);
}

// A busy X server refuses the first connections: the game tries again and starts.
TEST(Program, ADisplayThatRefusesTwiceAndThenAcceptsStartsTheGame) {
    if (std::system("command -v Xvfb > /dev/null") != 0) GTEST_SKIP() << "Xvfb is not installed";
    TempFolder temp;
    CopyGame(fs::path(temp.Path()));
    OwnXServer x(temp);
    BusyDisplay busy(x.display, 2);
    ASSERT_GE(busy.listener, 0);
    Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(),
                 With(HeadlessIn(temp), {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", busy.Display()}}), temp.File("stderr"));
    EXPECT_TRUE(game.WaitUntilCatching(SIGTERM)) << ReadFile(temp.File("stderr"));
    game.Signal(SIGTERM);
    EXPECT_EQ(game.Wait().status, 0);
    EXPECT_GT(busy.connections, 2);
    EXPECT_NE(ReadFile(temp.File("gk_sudoku.log")).find("Engine started: video x11"), std::string::npos);
}

// Neither a private runtime folder nor a per-user data folder (its parent is a file).
TEST(Program, WithoutTheFrameLockItSaysSoAndExitsBeforeAnyWindow) {
    TempFolder temp;
    CopyGame(fs::path(temp.Path()));
    WriteFile(temp.File("plain"), "a file");
    Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(),
                 With(Headless, {{"XDG_RUNTIME_DIR", "/nonexistent/run"},
                                 {"XDG_DATA_HOME", temp.File("plain/data")},
                                 {"HOME", temp.File("plain")}}),
                 temp.File("stderr"));
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.errors, "Can't create mutex\n");
    EXPECT_FALSE(fs::exists(temp.File("gk_sudoku.log")));
}

TEST(Program, WithoutADisplayItReportsTheReasonAndTouchesNoSavedGame) {
    TempFolder temp;
    CopyGame(fs::path(temp.Path()));
    WriteFile(temp.File("game.save"), "16\n");
    Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(),
                 With(HeadlessIn(temp), {{"SDL_VIDEODRIVER", "no-such-driver"}}), temp.File("stderr"));
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_FALSE(outcome.errors.empty());
    EXPECT_EQ(ReadFile(temp.File("game.save")), "16\n");
}

// SDL would fall back to its offscreen driver and the game would run unseen.
TEST(Program, WithNoDisplayAndNoDriverNamedItSaysSoInsteadOfRunningUnseen) {
    TempFolder temp;
    CopyGame(fs::path(temp.Path()));
    WriteFile(temp.File("game.save"), "16\n");
    Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(),
                 {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_AUDIODRIVER", "dummy"}},
                 temp.File("stderr"));
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.errors.find("cannot start the engine: no display found"), std::string::npos)
        << outcome.errors;
    EXPECT_EQ(ReadFile(temp.File("game.save")), "16\n");
    EXPECT_EQ(ReadFile(temp.File("gk_sudoku.log")).find("Engine started"), std::string::npos);
}

// Each signal ends the game as Exit does. This copy sat in the main menu while another
// copy saved its moves: the other copy's game is what stays.
TEST(Program, TerminationSignalsEndTheGameAndAnIdleCopyKeepsTheOtherCopysMoves) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempFolder temp;
        CopyGame(fs::path(temp.Path()));
        WriteLfGame(temp.File("game.save"));
        Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(), HeadlessIn(temp), temp.File("stderr"));
        ASSERT_TRUE(WaitForFile(temp.File("gk_sudoku.log")));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few frames
        SudokuBoard moved = EmptyBoard();
        moved.values[0][0] = moved.givens[0][0] = 5;
        moved.values[3][7] = 12;
        moved.values[9][9] = 3;
        moved.directory = temp.Path() + "/";
        moved.Save("game.save");  // the other copy's moves
        game.Signal(signal);
        const Outcome outcome = game.Wait();
        EXPECT_EQ(outcome.status, 0) << "signal " << signal << ": " << outcome.errors;
        ExpectLeftAsItWas(temp.File("game.save"), SavedGameText(moved));
    }
}

// While another copy holds the frame lock (here for ever), a stop signal still ends
// the waiting copy's loop, and it saves its game on the way out.
TEST(Program, ASignalEndsACopyWaitingForTheFrameLock) {
    TempFolder temp;
    CopyGame(fs::path(temp.Path()));
    WriteLfGame(temp.File("game.save"));
    const std::string saved = ReadFile(temp.File("game.save"));
    LockHolder other(temp.Path());
    ASSERT_TRUE(other.Holding());
    Process game((fs::path(temp.Path()) / "veltrane-sudoku").string(), HeadlessIn(temp), temp.File("stderr"));
    ASSERT_TRUE(WaitForFile(temp.File("gk_sudoku.log")));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // waiting in its first frame by now
    game.Signal(SIGTERM);
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    ExpectLeftAsItWas(temp.File("game.save"), saved);
}

// Installs the build into a fresh prefix.
void InstallInto(const fs::path& prefix) {
    const std::string command = std::string(VELTRANE_CMAKE_COMMAND) + " --install " + BuildDir + " --prefix " +
                                prefix.string() + " > " + (prefix / "install.log").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile((prefix / "install.log").string());
}

TEST(Program, InstalledGameFindsItsDataAndDesktopFiles) {
    TempFolder temp;
    InstallInto(fs::path(temp.Path()));
    const fs::path share = fs::path(temp.Path()) / "share";
    EXPECT_TRUE(fs::exists(fs::path(temp.Path()) / "games/veltrane-sudoku"));
    for (const char* name : DataNames) EXPECT_TRUE(fs::exists(share / "veltrane-sudoku" / name)) << name;
    EXPECT_TRUE(fs::exists(share / "applications/org.quorvel.VeltraneSudoku.desktop"));
    EXPECT_TRUE(fs::exists(share / "metainfo/org.quorvel.VeltraneSudoku.metainfo.xml"));
    EXPECT_TRUE(fs::exists(share / "icons/hicolor/32x32/apps/org.quorvel.VeltraneSudoku.png"));
    EXPECT_TRUE(fs::exists(share / "icons/hicolor/16x16/apps/org.quorvel.VeltraneSudoku.png"));

    // Started from another folder, it finds its data beside it in share/ and runs.
    fs::create_directory(fs::path(temp.Path()) / "elsewhere");
    const std::string saves = (fs::path(temp.Path()) / "elsewhere").string();
    Process game((fs::path(temp.Path()) / "games/veltrane-sudoku").string(),
                 With(Headless, {{"XDG_DATA_HOME", saves}, {"HOME", saves}}), temp.File("stderr"));
    EXPECT_TRUE(game.WaitUntilCatching(SIGTERM)) << "the game did not start";
    game.Signal(SIGTERM);
    const Outcome outcome = game.Wait();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.errors.find("Can't load"), std::string::npos) << outcome.errors;
    // Its program folder holds no data, so even a writable one (root) gets no log or save.
    EXPECT_TRUE(fs::exists(fs::path(saves) / "veltrane-sudoku/gk_sudoku.log"));
    EXPECT_FALSE(fs::exists(fs::path(temp.Path()) / "games/gk_sudoku.log"));
}

// An installed game whose program folder the player may not write to, with its
// per-user folder under home/data. As root the game runs as the unprivileged user
// "nobody", since root may write anywhere.
class ReadOnlyInstall {
public:
    ReadOnlyInstall() {
        InstallInto(fs::path(temp.Path()));
        fs::create_directories(userFolder);
    }
    ~ReadOnlyInstall() { fs::permissions(fs::path(temp.Path()) / "games", fs::perms::owner_all, fs::perm_options::add); }
    ReadOnlyInstall(const ReadOnlyInstall&) = delete;
    ReadOnlyInstall& operator=(const ReadOnlyInstall&) = delete;

    // Runs the game until its log appears, then ends it with SIGTERM.
    void RunAndStop() {
        const uid_t nobody = 65534;
        const bool asRoot = geteuid() == 0;
        if (asRoot) {
            fs::permissions(fs::path(temp.Path()), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
            for (const auto& entry : fs::recursive_directory_iterator(home))
                if (chown(entry.path().c_str(), nobody, nobody) != 0) FAIL() << "chown";
            ASSERT_EQ(chown(home.c_str(), nobody, nobody), 0);
        } else {
            fs::permissions(fs::path(temp.Path()) / "games", fs::perms::owner_write, fs::perm_options::remove);
        }
        Process game((fs::path(temp.Path()) / "games/veltrane-sudoku").string(),
                     With(Headless, {{"XDG_DATA_HOME", (home / "data").string()},
                                     {"HOME", home.string()},
                                     {"XDG_RUNTIME_DIR", ""}}),
                     (home / "stderr").string(), asRoot ? nobody : 0);
        ASSERT_TRUE(WaitForFile((userFolder / "gk_sudoku.log").string())) << ReadFile((home / "stderr").string());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        game.Signal(SIGTERM);
        const Outcome outcome = game.Wait();
        EXPECT_EQ(outcome.status, 0) << outcome.errors;
    }

    TempFolder temp;
    const fs::path home = fs::path(temp.Path()) / "home";
    const fs::path userFolder = home / "data/veltrane-sudoku";
    const fs::path programFolder = fs::path(temp.Path()) / "games";
};

TEST(Program, SavesGoToTheUserFolderWhenTheProgramFolderIsReadOnly) {
    ReadOnlyInstall install;
    WriteLfGame((install.userFolder / "game.save").string());
    const std::string saved = ReadFile((install.userFolder / "game.save").string());
    install.RunAndStop();
    ExpectLeftAsItWas((install.userFolder / "game.save").string(), saved);
    EXPECT_FALSE(fs::exists(install.programFolder / "game.save"));
    EXPECT_FALSE(fs::exists(install.programFolder / "gk_sudoku.log"));
}

// A game saved while the program's folder was writable is still found there; the
// next save goes to the per-user folder and the old file stays as it was.
TEST(Program, AGameLeftInTheReadOnlyProgramFolderIsLoadedAndSavedToTheUserFolder) {
    ReadOnlyInstall install;
    const std::string old = (install.programFolder / "game.save").string();
    const SudokuBoard board = WriteLfGame(old);
    const std::string oldBytes = ReadFile(old);
    install.RunAndStop();
    ExpectSavedAgain((install.userFolder / "game.save").string(), board);
    EXPECT_EQ(ReadFile(old), oldBytes);
}

// --help prints the usage and ends before any window. A good file starts its puzzle in
// place of the saved game once the worker has checked it; a bad one is refused with its
// reason and status 2 before the engine starts, the saved game left as it was.
TEST(Program, APuzzleFileOnTheCommandLineStartsItOrIsRefusedWithTheReason) {
    TempFolder temp;
    CopyGame(temp.Path());
    const std::string game = temp.File("veltrane-sudoku");
    EXPECT_EQ(std::system(("'" + game + "' --help > '" + temp.File("usage") + "'").c_str()), 0);
    EXPECT_EQ(ReadFile(temp.File("usage")).rfind("usage: veltrane-sudoku [FILE]\n", 0), 0u);
    LogicPuzzle puzzle;
    ASSERT_EQ(MakeLogicPuzzle(Hard, 4, puzzle), LogicMake::Made);
    const std::string code = FormatPuzzleCode(puzzle.givens);
    WriteFile(temp.File("clash.txt"), "GG" + code.substr(2));
    WriteFile(temp.File("big.txt"), "");
    fs::resize_file(temp.File("big.txt"), 1u << 30);  // sparse: no gigabyte is written
    WriteLfGame(temp.File("game.save"));
    const std::string saved = ReadFile(temp.File("game.save"));
    for (const auto& [name, reason] : {std::pair{"clash.txt", ": clash: G at line 1, position 1 and line 1"},
                                       std::pair{"big.txt", ": larger than 64 KB"}}) {
        const Outcome outcome = Process(game, HeadlessIn(temp), temp.File("err"), 0, temp.File(name)).Wait();
        EXPECT_EQ(outcome.status, 2) << name;
        EXPECT_EQ(outcome.errors.find("veltrane-sudoku: " + temp.File(name) + reason), 0u) << outcome.errors;
        EXPECT_EQ(ReadFile(temp.File("game.save")), saved) << name;
        EXPECT_FALSE(fs::exists(temp.File("gk_sudoku.log"))) << "no engine started for " << name;
    }
    WriteFile(temp.File("puzzle.txt"), code);
    Process started(game, HeadlessIn(temp), temp.File("stderr"), 0, temp.File("puzzle.txt"));
    ASSERT_TRUE(started.WaitUntilCatching(SIGTERM)) << "the game did not start";
    PlayRecord record;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!(ReadDatabaseRecord(temp.File("game.db"), record) && record.origin.kind == PuzzleKind::File) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(record.origin.kind, PuzzleKind::File) << "the play record written with the file's game";
    started.Signal(SIGTERM);
    EXPECT_EQ(started.Wait().status, 0);
    SudokuBoard expected;
    SetUpLogicGame(expected, puzzle);
    EXPECT_EQ(ReadFile(temp.File("game.save")), SavedGameText(expected));
    ASSERT_TRUE(ReadDatabaseRecord(temp.File("game.db"), record));
    EXPECT_TRUE(record.origin == (PuzzleOrigin{PuzzleKind::File, 3, 1})) << "Hard";
}
