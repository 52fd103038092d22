#include "engine/sdl/files/engine_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

// The log file opened for appending: never truncated, never reached through a
// symbolic link, and only when it is a regular file (a FIFO in its place would
// otherwise stop the game until someone reads it). Closed when the holder goes.
class AppendFile {
public:
    explicit AppendFile(const std::string& path)
        : fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                    0644)) {
        struct stat info {};
        if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd);
            fd = -1;
        }
    }
    ~AppendFile() {
        if (fd >= 0) ::close(fd);
    }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Writes every byte, through short writes and interrupted calls.
    void Write(const std::string& bytes) const {
        const char* data = bytes.data();
        std::size_t left = bytes.size();
        while (fd >= 0 && left > 0) {
            const ssize_t written = ::write(fd, data, left);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return;
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }

private:
    int fd;
};

std::string Format(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

}  // namespace

void EngineLog::SetFile(const std::string& name, const std::string& baseDir) {
    if (name.empty() || name[0] == '/' || baseDir.empty()) {
        path = name;
        return;
    }
    path = baseDir.back() == '/' ? baseDir + name : baseDir + "/" + name;
}

void EngineLog::WriteV(const char* format, va_list args) const {
    if (path.empty() || format == nullptr) return;
    std::string line = Format(format, args);
    if (line.empty() || line.back() != '\n') line += '\n';
    AppendFile(path).Write(line);
}

void EngineLog::Write(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}
