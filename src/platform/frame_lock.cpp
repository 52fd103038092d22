#include "platform/frame_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

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

// $XDG_RUNTIME_DIR is private to the user; only an absolute path is trusted.
std::string RuntimeDirectory() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir != nullptr && dir[0] == '/') return dir;
    return std::string();
}

// The lock file must be ours: in /tmp another user could have placed a file
// (or a link) under our name to hold the lock or to redirect it.
bool IsOwnRegularFile(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0) return false;
    return S_ISREG(info.st_mode) && info.st_uid == getuid();
}

}  // namespace

std::string NamedMutexPath(const std::string& name) {
    const std::string file = SafeFileName(name);
    const std::string runtime = RuntimeDirectory();
    if (!runtime.empty()) {
        const bool slash = runtime.back() == '/';
        return runtime + (slash ? "" : "/") + file + ".lock";
    }
    return "/tmp/" + file + "-" + std::to_string(getuid()) + ".lock";
}

std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name) {
    const std::string path = NamedMutexPath(name);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return nullptr;
    auto mutex = std::make_unique<NamedMutex>(fd);  // owns fd from here on
    if (!IsOwnRegularFile(fd)) return nullptr;
    return mutex;
}

NamedMutex::~NamedMutex() {
    if (fd >= 0) close(fd);  // closing also drops a lock still held
}

bool NamedMutex::Wait() {
    int result;
    do {
        result = flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool NamedMutex::Release() {
    return flock(fd, LOCK_UN) == 0;
}
