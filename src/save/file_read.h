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

// Reads the whole regular file at path into bytes when it holds at most maxBytes bytes.
// False (bytes untouched) when it is missing, unreadable, not a regular file, or larger
// than maxBytes, also when it grows past the cap while being read.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);
