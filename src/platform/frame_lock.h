// Named lock shared by every copy of the game run by one user: the frame lock
// taken by the frame and render callbacks. It is a lock file named after the
// mutex name, in $XDG_RUNTIME_DIR (else /tmp, with the user id in the file
// name), locked with flock. The kernel drops the lock of a process that dies, so
// a lock is never left abandoned. A NamedMutex owns its open file descriptor.
#pragma once

#include <memory>
#include <string>

class NamedMutex {
public:
    explicit NamedMutex(int fd) : fd(fd) {}
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Blocks until the lock is obtained; true when it is held. Waiting again
    // while holding it returns at once (the lock does not count nested waits).
    bool Wait();
    // Gives the lock back; true when it was released.
    bool Release();

private:
    int fd;
};

// Path of the lock file for a mutex name: characters other than letters,
// digits, '-', '_' and '.' are replaced by '_'.
std::string NamedMutexPath(const std::string& name);

// Opens (creating when needed) the lock file of the name; null on failure,
// including a lock file that is a symbolic link, not a regular file, or owned
// by another user.
std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name);
