#include "platform/frame_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/save_location.h"
#include "platform/stop_signals.h"

namespace {

// Pauses between attempts while another copy holds the lock: short at first so
// that frames of two copies interleave closely, longer while it stays held.
constexpr long kFirstPauseNs = 1'000'000;
constexpr long kLongestPauseNs = 16'000'000;

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
    return mutex;
}

NamedMutex::~NamedMutex() {
    if (fd >= 0) ::close(fd);  // closing also drops a lock still held
}

// flock is tried without blocking, with pauses in between: a flock blocked in the
// kernel cannot be relied on to wake for a stop signal (one that arrives just
// before the call would be missed), while a pause ends early on any signal and
// the stop flag is read before every attempt.
bool NamedMutex::Wait() {
    long pause = kFirstPauseNs;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (StopSignals::Requested() != 0) return false;
        const timespec wait{0, pause};
        ::nanosleep(&wait, nullptr);
        pause = std::min(pause * 2, kLongestPauseNs);
    }
}

bool NamedMutex::Release() {
    return ::flock(fd, LOCK_UN) == 0;
}
