// Bounded reading of the small files kept beside the saved game ("game.state", the best
// times). A read never blocks and never costs more memory than the caller allows: the
// file is opened non-blocking (a FIFO or device put in its place cannot stall start-up),
// anything but a regular file is refused, and so is a file larger than the cap, before
// its contents are read. Also the descriptor holder the file writers share. POSIX calls
// only; no SDL.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <string>

// An open file descriptor, closed when its holder goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    // Closes now; false when the close reports an error (data that may not have reached the file).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// What a bounded read came to; every outcome but Read leaves the bytes untouched.
enum class FileReadOutcome {
    Read,        // the whole file is in bytes
    Missing,     // no file (or folder on the way) by that name
    Unreadable,  // it exists but cannot be opened or read
    NotRegular,  // a folder, FIFO, device or socket
    TooLarge,    // more than maxBytes, found before reading or while reading
};

// Reads the whole regular file at path into bytes when it holds at most maxBytes bytes,
// and says why not otherwise. A file that grows past the cap while being read is TooLarge.
FileReadOutcome ReadBoundedFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// ReadBoundedFile for callers that need no reason: true when the file was read.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);
