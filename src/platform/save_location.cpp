#include "platform/save_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

bool MakeDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    struct stat info {};
    return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates every missing folder along path (which ends with '/').
bool MakeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        if (!MakeDirectory(path.substr(0, slash))) return false;
    }
    return true;
}

// True when anything is at folder + name (a link counts, whatever it points at).
bool HasEntry(const std::string& folder, const std::string& name) {
    struct stat info {};
    return ::lstat((folder + name).c_str(), &info) == 0;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

bool IsWritableDirectory(const std::string& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataDirectory(const std::string& appName) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        base = WithSlash(xdg);
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        base = WithSlash(home) + ".local/share/";
    } else {
        return {};
    }
    std::string folder = base + appName + "/";
    return MakeDirectories(folder) ? folder : std::string();
}

std::string ChooseSaveDirectory(const std::string& moduleDirectory, const std::string& appName,
                                const std::string& dataFileName) {
    if (HasEntry(moduleDirectory, dataFileName) && IsWritableDirectory(moduleDirectory)) return moduleDirectory;
    std::string user = UserDataDirectory(appName);
    return user.empty() ? moduleDirectory : user;
}

std::string ChooseLoadDirectory(const std::string& saveDirectory, const std::string& moduleDirectory,
                                const std::string& fileName) {
    if (HasEntry(saveDirectory, fileName) || !HasEntry(moduleDirectory, fileName)) return saveDirectory;
    return moduleDirectory;
}
