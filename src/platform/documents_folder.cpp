// The documents folder, from the environment or the desktop's user-dirs.dirs.
#include "platform/documents_folder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// user-dirs.dirs is a few lines; a larger file is not one.
constexpr std::streamsize kMaxUserDirsBytes = 64 * 1024;

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? std::string(home) : std::string();
}

// The text of a file of at most kMaxUserDirsBytes; empty when it cannot be read or is larger.
std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text(static_cast<std::size_t>(kMaxUserDirsBytes) + 1, '\0');
    in.read(&text[0], kMaxUserDirsBytes + 1);
    const std::streamsize got = in.gcount();
    if (got > kMaxUserDirsBytes) return {};
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::string UserDirsPath(const std::string& home) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return WithSlash(config) + "user-dirs.dirs";
    return home.empty() ? std::string() : home + "/.config/user-dirs.dirs";
}

// The value of a line `NAME="value"` (the quotes required, as the file writes them).
bool QuotedValue(const std::string& line, const std::string& name, std::string& value) {
    const std::string start = name + "=\"";
    if (line.compare(0, start.size(), start) != 0 || line.size() < start.size() + 1 || line.back() != '"')
        return false;
    value = line.substr(start.size(), line.size() - start.size() - 1);
    return true;
}

}  // namespace

std::string DocumentsDirectoryOfUserDirs(const std::string& text, const std::string& home) {
    std::istringstream lines(text);
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string value;
        if (!QuotedValue(line, "XDG_DOCUMENTS_DIR", value)) continue;
        for (const char* prefix : {"$HOME", "${HOME}"}) {
            const std::string p = prefix;
            if (value.compare(0, p.size(), p) == 0 && (value.size() == p.size() || value[p.size()] == '/')) {
                value = home.empty() ? std::string() : home + value.substr(p.size());
                break;
            }
        }
        if (!value.empty() && value[0] == '/') found = value;  // the last line counts
    }
    return found;
}

std::string DocumentsDirectory() {
    const std::string home = HomeDirectory();
    if (const char* named = std::getenv("XDG_DOCUMENTS_DIR"); named != nullptr && IsDirectory(named))
        return WithSlash(named);
    const std::string userDirs = UserDirsPath(home);
    if (!userDirs.empty()) {
        const std::string named = DocumentsDirectoryOfUserDirs(ReadSmallFile(userDirs), home);
        if (IsDirectory(named)) return WithSlash(named);
    }
    if (home.empty()) return {};
    if (IsDirectory(home + "/Documents")) return home + "/Documents/";
    return WithSlash(home);
}

std::string PathForPlayer(const std::string& path) {
    std::string home = HomeDirectory();
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    if (home.size() > 1 && path.compare(0, home.size(), home) == 0 && path.size() > home.size() &&
        path[home.size()] == '/')
        return "~" + path.substr(home.size());
    return path;
}
