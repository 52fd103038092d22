#include "platform/module_directory.h"

#include <unistd.h>

#include <vector>

namespace {

// readlink does not say whether it cut the path short, so the buffer grows until
// the path fits with room to spare.
std::string ExecutablePath() {
    constexpr std::size_t kLargest = 1 << 16;
    for (std::size_t size = 4096; size <= kLargest; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return std::string();
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
    }
    return std::string();
}

}  // namespace

std::string GetModuleDirectory() {
    const std::string path = ExecutablePath();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return path.substr(0, slash + 1);
}
