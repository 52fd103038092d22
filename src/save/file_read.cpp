// ReadRegularFile: open non-blocking, check the kind and size, then read with a cap.
#include "save/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

// Reads until the end of the file; false on an error or when more than maxBytes arrive.
bool ReadAtMost(int fd, std::size_t maxBytes, std::string& contents) {
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (static_cast<std::size_t>(got) > maxBytes - contents.size()) return false;
        contents.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return false;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (status.st_size < 0 || static_cast<unsigned long long>(status.st_size) > maxBytes) return false;
    std::string contents;
    contents.reserve(static_cast<std::size_t>(status.st_size));
    if (!ReadAtMost(file.get(), maxBytes, contents)) return false;
    bytes = std::move(contents);
    return true;
}
