// Named lock shared by every copy of the game run by one user: the frame lock
// taken by the frame and render callbacks. It is a lock file named after the
// mutex name, locked with flock, in a folder no other user can write: the
// user's $XDG_RUNTIME_DIR when it is private (a real folder owned by the user,
// mode 0700), else the per-user data folder of the program. The kernel drops the
// lock of a process that dies, so a lock is never left abandoned. A NamedMutex
// owns its open file descriptor.
#pragma once

#include <memory>
#include <string>

class NamedMutex {
public:
    explicit NamedMutex(int fd) : fd(fd) {}
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits until the lock is obtained; true when it is held. Gives up (false)
    // when a stop signal has been recorded (platform/stop_signals.h) while the
    // lock is held elsewhere, so a stopping program never waits on another copy.
    // Waiting again while holding it returns at once (nested waits do not count).
    bool Wait();
    // Gives the lock back; true when it was released.
    bool Release();

private:
    int fd;
};

// The folder of the lock files, with its trailing '/': $XDG_RUNTIME_DIR when it
// is private to the user, else the per-user data folder of appName (made when
// missing, see platform/save_location.h) when only its owner may write there.
// Empty text when neither can be used.
std::string LockFolder(const std::string& appName);

// Path of the lock file for a mutex name in LockFolder(appName): characters
// other than letters, digits, '-', '_' and '.' are replaced by '_'. Empty text
// when there is no lock folder.
std::string NamedMutexPath(const std::string& name, const std::string& appName);

// Opens (creating when needed) the lock file of the name; null on failure,
// including a lock file that is a symbolic link, not a regular file, or owned
// by another user.
std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name, const std::string& appName);
