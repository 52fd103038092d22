// The named lock across processes: a second process waiting for it blocks until
// the first gives it back, a process that dies gives it back, and lock files
// that are not the user's own are refused.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "engine_test_fixture.h"
#include "platform/frame_lock.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Points $XDG_RUNTIME_DIR at a fresh folder for the test, so locks of other
// tests or of a running game are never touched.
class FrameLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        hadRuntime = old != nullptr;
        if (hadRuntime) oldRuntime = old;
        setenv("XDG_RUNTIME_DIR", temp.path.c_str(), 1);
    }
    void TearDown() override {
        if (hadRuntime) {
            setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    TempFolder temp;
    bool hadRuntime = false;
    std::string oldRuntime;
};

// In a child: waits for the lock, writes one byte to the pipe when it has it,
// and exits 0 (1 when the lock could not be created or taken).
pid_t StartWaitingChild(const std::string& name, int writeEnd, int holdMilliseconds = 0) {
    const pid_t child = fork();
    if (child != 0) return child;
    auto lock = CreateNamedMutex(name);
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

}  // namespace

TEST_F(FrameLockTest, LockFileLivesInTheRuntimeFolderElseInTmpWithTheUserId) {
    EXPECT_EQ(NamedMutexPath("VeltraneSudokuFrameMutex-5D0C7A43"),
              temp.path.string() + "/VeltraneSudokuFrameMutex-5D0C7A43.lock");
    EXPECT_EQ(NamedMutexPath("a/../b c"), temp.path.string() + "/a_.._b_c.lock") << "no folder can be named";
    EXPECT_EQ(NamedMutexPath(".."), temp.path.string() + "/_..lock");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(NamedMutexPath("Frame"), "/tmp/Frame-" + std::to_string(getuid()) + ".lock");
    setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(NamedMutexPath("Frame"), "/tmp/Frame-" + std::to_string(getuid()) + ".lock");
}

TEST_F(FrameLockTest, ASecondProcessWaitsUntilTheFirstReleases) {
    const std::string name = "VeltraneSudokuFrameMutex-test";
    auto lock = CreateNamedMutex(name);
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
    auto lock = CreateNamedMutex(name);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->Wait());
    EXPECT_GT(SecondsSince(start), 0.05) << "the lock was taken while the child held it";
    EXPECT_EQ(ExitStatus(child), 0);
}

TEST_F(FrameLockTest, RefusesALinkOrAFolderInPlaceOfTheLockFile) {
    const std::string target = temp.File("victim");
    WriteFile(target, "keep");
    ASSERT_EQ(symlink(target.c_str(), NamedMutexPath("linked").c_str()), 0);
    EXPECT_EQ(CreateNamedMutex("linked"), nullptr);
    EXPECT_EQ(ReadFile(target), "keep");
    ASSERT_EQ(mkdir(NamedMutexPath("folder").c_str(), 0700), 0);
    EXPECT_EQ(CreateNamedMutex("folder"), nullptr);
    setenv("XDG_RUNTIME_DIR", temp.File("missing/dir").c_str(), 1);
    EXPECT_EQ(CreateNamedMutex("nowhere"), nullptr);
}

TEST_F(FrameLockTest, TheLockFileIsPrivateAndNotInheritedByChildPrograms) {
    auto lock = CreateNamedMutex("private");
    ASSERT_NE(lock, nullptr);
    struct stat info {};
    ASSERT_EQ(stat(NamedMutexPath("private").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, getuid());
    // Every descriptor open on the lock file carries close-on-exec.
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (error || target.string() != NamedMutexPath("private")) continue;
        const int fd = std::stoi(entry.path().filename().string());
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
}
