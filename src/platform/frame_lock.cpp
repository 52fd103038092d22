#include "platform/frame_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/forked_children.h"
#include "platform/save_location.h"
#include "platform/stop_signals.h"

namespace {

#ifndef sigev_notify_thread_id
#define sigev_notify_thread_id _sigev_un._tid
#endif

// How often a blocked wait for the lock looks at the stop flag.
constexpr long kStopCheckIntervalNs = 50'000'000;
// The signal that wakes a blocked wait. Its default action is to ignore it, so one
// still on its way after the wait has ended does no harm.
constexpr int kWakeSignal = SIGURG;

extern "C" void IgnoreWakeSignal(int) {}

// While it lives, a blocking call of the thread that made it returns with EINTR
// at least every kStopCheckIntervalNs: a timer sends kWakeSignal to this thread
// alone (a process-wide stop signal may be taken by any of the program's threads,
// and may come just before the call blocks), and its handler does not restart
// the call. Active() is false when no timer could be made.
class PeriodicWakeUp {
public:
    PeriodicWakeUp() {
        struct sigaction action {};
        action.sa_handler = IgnoreWakeSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no SA_RESTART: the blocked call returns
        if (::sigaction(kWakeSignal, &action, &previous) != 0) return;
        handlerSet = true;
        sigevent event {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = kWakeSignal;
        event.sigev_notify_thread_id = ::gettid();
        if (::timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) return;
        timerMade = true;
        const itimerspec every{{0, kStopCheckIntervalNs}, {0, kStopCheckIntervalNs}};
        active = ::timer_settime(timer, 0, &every, nullptr) == 0;
    }
    ~PeriodicWakeUp() {
        if (timerMade) ::timer_delete(timer);
        if (handlerSet) ::sigaction(kWakeSignal, &previous, nullptr);
    }
    PeriodicWakeUp(const PeriodicWakeUp&) = delete;
    PeriodicWakeUp& operator=(const PeriodicWakeUp&) = delete;

    bool Active() const { return active; }

private:
    struct sigaction previous {};
    timer_t timer{};
    bool handlerSet = false;
    bool timerMade = false;
    bool active = false;
};

std::string SafeFileName(const std::string& name) {
    std::string safe = name.empty() ? std::string("unnamed") : name;
    for (char& c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.';
        if (!plain) c = '_';
    }
    if (safe[0] == '.') safe[0] = '_';  // never "." or ".." or a hidden file
    return safe;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// $XDG_RUNTIME_DIR, when it is the user's own private folder: an absolute path
// naming a folder itself (not a link), owned by the user, with mode 0700. After
// `su` it may still name the previous user's folder, and that one is not used.
std::string PrivateRuntimeFolder() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir == nullptr || dir[0] != '/') return std::string();
    const std::string folder = WithoutTrailingSlashes(dir);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::string();
    if (info.st_uid != ::geteuid() || (info.st_mode & 0777) != 0700) return std::string();
    return folder == "/" ? folder : folder + "/";
}

// The per-user data folder, when only its owner, the user, may write there.
std::string PrivateDataFolder(const std::string& appName) {
    const std::string folder = UserDataDirectory(appName);
    if (folder.empty()) return std::string();
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::string();
    if (info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return std::string();
    return folder;
}

// The lock file must be ours: an earlier run or another user may have left
// something else under the name.
bool IsOwnRegularFile(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return false;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

}  // namespace

std::string LockFolder(const std::string& appName) {
    const std::string runtime = PrivateRuntimeFolder();
    return runtime.empty() ? PrivateDataFolder(appName) : runtime;
}

std::string NamedMutexPath(const std::string& name, const std::string& appName) {
    const std::string folder = LockFolder(appName);
    if (folder.empty()) return std::string();
    return folder + SafeFileName(name) + ".lock";
}

std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name, const std::string& appName) {
    const std::string path = NamedMutexPath(name, appName);
    if (path.empty()) return nullptr;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) return nullptr;
    auto mutex = std::make_unique<NamedMutex>(fd);  // owns fd from here on
    if (!IsOwnRegularFile(fd)) return nullptr;
    // A process the game forks (a message box) never holds the lock for it.
    GuardForkedChildren();
    CloseInForkedChildren(fd);
    return mutex;
}

NamedMutex::~NamedMutex() {
    if (fd < 0) return;
    ForgetInForkedChildren(fd);
    ::close(fd);  // closing also drops a lock still held
}

// A free lock is taken at once. Otherwise the wait blocks in flock, so that the
// kernel hands the lock over as soon as it is given back and two copies take
// turns, and is woken regularly to look at the stop flag. Without the wake-up
// timer the lock is tried again after short sleeps instead.
bool NamedMutex::Wait() {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    const PeriodicWakeUp wakeUp;
    const timespec pause{0, 2'000'000};
    for (;;) {
        if (StopSignals::Requested() != 0) return false;
        if (::flock(fd, wakeUp.Active() ? LOCK_EX : LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (!wakeUp.Active()) ::nanosleep(&pause, nullptr);
    }
}

bool NamedMutex::Release() {
    return ::flock(fd, LOCK_UN) == 0;
}
