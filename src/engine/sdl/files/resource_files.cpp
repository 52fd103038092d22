#include "engine/sdl/files/resource_files.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace {

constexpr const char* kInstalledDataFolder = "../share/veltrane-sudoku/";

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::vector<std::string> ResourceCandidates(const std::string& name, const std::string& executableDir) {
    if (name.empty()) return {};
    if (name[0] == '/') return {name};
    std::vector<std::string> paths;
    if (!executableDir.empty()) {
        const std::string dir = executableDir.back() == '/' ? executableDir : executableDir + "/";
        paths.push_back(dir + name);
        paths.push_back(dir + kInstalledDataFolder + name);
    }
    paths.push_back(name);
    return paths;
}

std::string FindResource(const std::string& name, const std::string& executableDir) {
    for (const std::string& path : ResourceCandidates(name, executableDir)) {
        if (IsRegularFile(path)) return path;
    }
    return std::string();
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes, std::size_t maxBytes) {
    bytes.clear();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    // Read in chunks rather than trusting a size taken before reading: the file
    // may change in between, and a non-seekable file has no size.
    unsigned char chunk[64 * 1024];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (got > maxBytes - bytes.size()) {
            bytes.clear();
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) break;
    }
    if (std::ferror(file.get())) {
        bytes.clear();
        return false;
    }
    return true;
}
