// The named lock across processes: a second process waiting for it blocks until
// the first gives it back, a process that dies gives it back, a stop signal ends
// a wait, the lock file lives only in folders no other user can write, and lock
// files that are not the user's own are refused; a process the game forks (the system
// message box) neither keeps the lock nor outlives the game, nor does the game's work
// when the display is lost.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

#include "engine/sdl/video/display_loss.h"
#include "platform/forked_children.h"
#include "platform/frame_lock.h"
#include "platform/stop_signals.h"
#include "sdl/engine_test_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string App = "veltrane-lock-test";

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Sets an environment variable (or unsets it, for null) for the holder's
// lifetime and puts back what was there before.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name(name) {
        const char* old = std::getenv(name);
        had = old != nullptr;
        if (had) previous = old;
        Set(value);
    }
    ~ScopedEnv() { Set(had ? previous.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }

private:
    const char* name;
    bool had = false;
    std::string previous;
};

// Points $XDG_RUNTIME_DIR at a fresh private folder and the data folders at the
// test's own, so locks of other tests, of a running game or of the user's home
// are never touched.
class FrameLockTest : public ::testing::Test {
protected:
    FrameLockTest() {
        mkdir(runtimeDir.c_str(), 0700);
        runtime.Set(runtimeDir.c_str());
    }
    std::string UserFolder() const { return temp.File("data/" + App) + "/"; }

    TempFolder temp;
    const std::string runtimeDir = temp.File("run");
    ScopedEnv runtime{"XDG_RUNTIME_DIR", nullptr};
    ScopedEnv dataHome{"XDG_DATA_HOME", temp.File("data").c_str()};
    ScopedEnv home{"HOME", temp.File("home").c_str()};
};

// In a child: waits for the lock, writes one byte to the pipe when it has it,
// and exits 0 (1 when the lock could not be created or taken).
pid_t StartWaitingChild(const std::string& name, int writeEnd, int holdMilliseconds = 0) {
    const pid_t child = fork();
    if (child != 0) return child;
    auto lock = CreateNamedMutex(name, App);
    if (!lock || !lock->Wait()) _exit(1);
    const char byte = 'x';
    if (write(writeEnd, &byte, 1) != 1) _exit(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(holdMilliseconds));
    _exit(0);  // dies holding the lock when holdMilliseconds > 0: the kernel releases it
}

// Waits until the kernel lists the process as waiting for a flock lock ("N: -> FLOCK
// ADVISORY WRITE pid ..." in /proc/locks); false after a generous time-out.
bool WaitUntilWaitingForALock(pid_t pid) {
    const Clock::time_point end = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < end) {
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);) {
            std::istringstream fields(line);
            std::string number, arrow, kind, advisory, mode;
            long owner = 0;
            if (fields >> number >> arrow >> kind >> advisory >> mode >> owner && arrow == "->" &&
                kind == "FLOCK" && owner == pid) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int ExitStatus(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// True once the process is gone or a zombie; false after a generous time-out.
bool Ends(pid_t pid) {
    const Clock::time_point end = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < end) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line) && line.rfind("State:", 0) != 0) {
        }
        if (!status || line.find('Z') != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    return false;
}

}  // namespace

TEST_F(FrameLockTest, LockFileLivesInAPrivateRuntimeFolderElseInTheUserDataFolder) {
    EXPECT_EQ(NamedMutexPath("VeltraneSudokuFrameMutex-5D0C7A43", App),
              runtimeDir + "/VeltraneSudokuFrameMutex-5D0C7A43.lock");
    EXPECT_EQ(NamedMutexPath("a/../b c", App), runtimeDir + "/a_.._b_c.lock") << "no folder can be named";
    EXPECT_EQ(NamedMutexPath("..", App), runtimeDir + "/_..lock");

    // Runtime folders that others could write to, or that are not the user's own.
    const std::string open = temp.File("open"), linked = temp.File("linked");
    mkdir(open.c_str(), 0700);
    chmod(open.c_str(), 0755);
    ASSERT_EQ(symlink(runtimeDir.c_str(), linked.c_str()), 0);
    std::vector<std::string> refused = {"", "relative/dir", temp.File("missing"), open, linked};
    if (geteuid() == 0) {  // only root can make a folder that belongs to someone else
        const std::string foreign = temp.File("foreign");
        mkdir(foreign.c_str(), 0700);
        ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
        refused.push_back(foreign);
    }
    for (const std::string& dir : refused) {
        SCOPED_TRACE("XDG_RUNTIME_DIR=" + dir);
        runtime.Set(dir.empty() ? nullptr : dir.c_str());
        EXPECT_EQ(NamedMutexPath("Frame", App), UserFolder() + "Frame.lock");
        EXPECT_NE(CreateNamedMutex("Frame", App), nullptr);
    }
    struct stat info {};
    ASSERT_EQ(stat(UserFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the data folder is made private";

    // A data folder others may write to is no place for it either: a real failure.
    chmod(UserFolder().c_str(), 0777);
    EXPECT_EQ(CreateNamedMutex("Frame", App), nullptr);
    // Nor is there one when no data folder can be made.
    WriteFile(temp.File("plain"), "a file");
    ScopedEnv noData("XDG_DATA_HOME", temp.File("plain/data").c_str());
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(NamedMutexPath("Frame", App), "");
    EXPECT_EQ(CreateNamedMutex("Frame", App), nullptr);
}

// Whatever another user plants in /tmp under the name the lock file once had
// there (a file, a link, a FIFO, a folder), the lock is made.
TEST_F(FrameLockTest, ThingsPlantedInTmpDoNotStopTheLock) {
    runtime.Set(nullptr);
    const std::string name = "VeltraneLockPlanted-" + std::to_string(getpid());
    const std::string planted = "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
    namespace fs = std::filesystem;
    std::error_code error;
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        if (kind == 0) WriteFile(planted, "someone else's");
        if (kind == 1) fs::create_symlink("/etc/passwd", planted, error);
        if (kind == 2) mkfifo(planted.c_str(), 0666);
        if (kind == 3) fs::create_directory(planted, error);
        ASSERT_TRUE(fs::exists(fs::symlink_status(planted)));
        auto lock = CreateNamedMutex(name, App);
        EXPECT_NE(lock, nullptr);
        EXPECT_TRUE(lock && lock->Wait());
        fs::remove(planted, error);
    }
}

TEST_F(FrameLockTest, ASecondProcessWaitsUntilTheFirstReleases) {
    const std::string name = "VeltraneSudokuFrameMutex-test";
    auto lock = CreateNamedMutex(name, App);
    ASSERT_NE(lock, nullptr);
    ASSERT_TRUE(lock->Wait());
    EXPECT_TRUE(lock->Wait()) << "waiting again while holding it returns at once";

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const Clock::time_point start = Clock::now();
    const pid_t child = StartWaitingChild(name, fds[1]);
    close(fds[1]);
    EXPECT_TRUE(WaitUntilWaitingForALock(child)) << "the child never waited for the lock";
    const double released = SecondsSince(start);
    ASSERT_TRUE(lock->Release());
    char byte = 0;
    ASSERT_EQ(read(fds[0], &byte, 1), 1);
    const double obtained = SecondsSince(start);
    close(fds[0]);
    EXPECT_GE(obtained, released) << "the child got the lock while the parent held it";
    EXPECT_EQ(ExitStatus(child), 0);
}

TEST_F(FrameLockTest, AProcessThatDiesHoldingTheLockGivesItBack) {
    const std::string name = "VeltraneSudokuFrameMutex-dies";
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // Started before the child: the child holds the lock for at least 0.2 s after this.
    const Clock::time_point start = Clock::now();
    const pid_t child = StartWaitingChild(name, fds[1], 200);
    close(fds[1]);
    char byte = 0;
    ASSERT_EQ(read(fds[0], &byte, 1), 1);  // the child holds it now
    close(fds[0]);
    auto lock = CreateNamedMutex(name, App);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->Wait());
    EXPECT_GT(SecondsSince(start), 0.05) << "the lock was taken while the child held it";
    EXPECT_EQ(ExitStatus(child), 0);
}

TEST_F(FrameLockTest, RefusesALinkOrAFolderInPlaceOfTheLockFile) {
    const std::string target = temp.File("victim");
    WriteFile(target, "keep");
    ASSERT_EQ(symlink(target.c_str(), NamedMutexPath("linked", App).c_str()), 0);
    EXPECT_EQ(CreateNamedMutex("linked", App), nullptr);
    EXPECT_EQ(ReadFile(target), "keep");
    ASSERT_EQ(mkdir(NamedMutexPath("folder", App).c_str(), 0700), 0);
    EXPECT_EQ(CreateNamedMutex("folder", App), nullptr);
}

TEST_F(FrameLockTest, TheLockFileIsPrivateAndNotInheritedByChildPrograms) {
    auto lock = CreateNamedMutex("private", App);
    ASSERT_NE(lock, nullptr);
    struct stat info {};
    ASSERT_EQ(stat(NamedMutexPath("private", App).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, getuid());
    // Every descriptor open on the lock file carries close-on-exec.
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (error || target.string() != NamedMutexPath("private", App)) continue;
        const int fd = std::stoi(entry.path().filename().string());
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
}

// A process waiting for a lock that another holds gives up when a stop signal
// arrives, and only then (the holder never lets go here).
TEST_F(FrameLockTest, AStopSignalEndsAWaitForALockHeldElsewhere) {
    const std::string name = "VeltraneSudokuFrameMutex-stop";
    auto lock = CreateNamedMutex(name, App);
    ASSERT_NE(lock, nullptr);
    ASSERT_TRUE(lock->Wait());
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t waiter = fork();
    ASSERT_GE(waiter, 0);
    if (waiter == 0) {
        close(fds[0]);
        StopSignals signals;
        auto mine = CreateNamedMutex(name, App);
        const char byte = 'w';
        if (!mine || write(fds[1], &byte, 1) != 1) _exit(2);
        const bool obtained = mine->Wait();
        _exit(!obtained && StopSignals::Requested() == SIGTERM ? 0 : 1);
    }
    close(fds[1]);
    char byte = 0;
    ASSERT_EQ(read(fds[0], &byte, 1), 1);
    close(fds[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // most likely waiting by now
    ASSERT_EQ(kill(waiter, SIGTERM), 0);
    // Generous: it ends promptly, but a loaded machine may be slow to run it.
    const Clock::time_point start = Clock::now();
    int status = 0;
    bool ended = false;
    while (!(ended = waitpid(waiter, &status, WNOHANG) == waiter) && SecondsSince(start) < 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
        kill(waiter, SIGKILL);
        waitpid(waiter, &status, 0);
        FAIL() << "the waiting process did not end on SIGTERM";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// A "game" holding the lock forks children and ends. In a child the display-loss
// handler ends the child at once: the game's save, which waits for threads the child
// does not have, is not its to do. A child that keeps the kernel's death signal ends
// with the game, and the lock is free even while one that cleared it lives on.
TEST_F(FrameLockTest, AChildOfTheGameNeitherDoesItsWorkNorKeepsTheLockNorOutlivesIt) {
    const std::string name = "VeltraneSudokuFrameMutex-fork";
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t game = fork();
    if (game == 0) {
        auto lock = CreateNamedMutex(name, App);
        if (!lock || !lock->Wait()) _exit(1);
        const pid_t lost = fork();
        if (lost == 0) EndAfterLostDisplay([] { pause(); });
        if (!Ends(lost) || ExitStatus(lost) != 1) _exit(2);
        pid_t children[2] = {};
        for (int i = 0; i < 2; ++i) {
            children[i] = fork();
            if (children[i] != 0) continue;
            if (i == 1) prctl(PR_SET_PDEATHSIG, 0);
            for (;;) pause();
        }
        _exit(write(fds[1], children, sizeof children) == sizeof children ? 0 : 1);
    }
    close(fds[1]);
    pid_t children[2] = {};
    ASSERT_EQ(read(fds[0], children, sizeof children), static_cast<ssize_t>(sizeof children));
    close(fds[0]);
    EXPECT_EQ(ExitStatus(game), 0);
    EXPECT_TRUE(Ends(children[0])) << "a child outlived the game";
    auto lock = CreateNamedMutex(name, App);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->Wait()) << "a child of the game kept the lock";
    kill(children[1], SIGKILL);
}
