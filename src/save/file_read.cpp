// ReadRegularFile: open non-blocking, check the kind and size, then read with a cap.
#include "save/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

// Reads until the end of the file: Read, Unreadable on an error, TooLarge when more
// than maxBytes arrive.
FileReadOutcome ReadAtMost(int fd, std::size_t maxBytes, std::string& contents) {
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return FileReadOutcome::Unreadable;
        }
        if (got == 0) return FileReadOutcome::Read;
        if (static_cast<std::size_t>(got) > maxBytes - contents.size()) return FileReadOutcome::TooLarge;
        contents.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace

FileReadOutcome ReadBoundedFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileReadOutcome::Missing : FileReadOutcome::Unreadable;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return FileReadOutcome::Unreadable;
    if (!S_ISREG(status.st_mode)) return FileReadOutcome::NotRegular;
    if (status.st_size < 0 || static_cast<unsigned long long>(status.st_size) > maxBytes)
        return FileReadOutcome::TooLarge;
    std::string contents;
    contents.reserve(static_cast<std::size_t>(status.st_size));
    const FileReadOutcome outcome = ReadAtMost(file.get(), maxBytes, contents);
    if (outcome == FileReadOutcome::Read) bytes = std::move(contents);
    return outcome;
}

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    return ReadBoundedFile(path, maxBytes, bytes) == FileReadOutcome::Read;
}
