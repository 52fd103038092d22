// Saved-game writer and reader: SudokuBoard::Save and SudokuBoard::Load, and the
// safe replacement of a file's contents that every file beside the saved game uses.
// The file handling uses the POSIX calls the standard library has no word for
// (unique temporary files, fsync, permission bits, non-blocking opens).
#include "save/save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <locale>
#include <optional>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include "save/file_read.h"

namespace {

// A temporary file that is removed unless it was put in place.
class TemporaryName {
public:
    explicit TemporaryName(std::string path) : path_(std::move(path)) {}
    ~TemporaryName() {
        if (!kept_) ::unlink(path_.c_str());
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

// The mark in the names of the game's own temporaries: "." + the file's name + the mark
// + six letters or digits. No other program makes such names, so only these are ever
// removed as left over.
constexpr const char* kTemporaryMark = ".veltrane-tmp-";
constexpr std::size_t kTemporarySuffixLength = 6;
// Random names tried before a link of the written file is given up.
constexpr int kTemporaryNameTries = 100;

// A saved game is a few KB; anything past this is not one.
constexpr std::size_t kLargestReadableFile = 1 << 20;
// As many links in a row as the kernel follows before it gives up (ELOOP).
constexpr int kMostLinksFollowed = 40;

// The folder part of path, with its trailing '/'; empty for a bare name (the current folder).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The text of the symbolic link at path; empty when it cannot be read.
std::string LinkText(const std::string& path) {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return std::string();
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// The file that writing to path would reach: symbolic links named by path are
// followed (a relative one from the link's own folder), as opening it would.
// The path itself when it names no link or nothing yet; empty when the chain of
// links is too long or cannot be read.
std::string FileBehindLinks(std::string path) {
    for (int hop = 0; hop <= kMostLinksFollowed; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        const std::string target = LinkText(path);
        if (target.empty()) return std::string();
        path = target[0] == '/' ? target : FolderOf(path) + target;
    }
    return std::string();
}

// The permission bits a newly created file gets: 0666 less the process's umask.
// The umask is read from /proc, since setting it to learn it would race with other
// threads that create files; without /proc the file stays private to its owner.
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) != 0) continue;
        const unsigned long mask = std::strtoul(line.c_str() + 6, nullptr, 8);
        return static_cast<mode_t>(0666 & ~mask);
    }
    return 0600;
}

// Writes every byte, through short writes and interrupted calls; false (errno set) on any error.
bool WriteAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Gives the new file the owner and permission bits of the one it replaces, as
// writing the old file in place would have kept them (a read-only file stays
// read-only), with the owner's read bit added: a file the game writes is one it can
// read back. Only a privileged process can give a file away, so a different owner is
// kept where the system allows it.
bool TakeOverAttributes(int fd, const struct stat& old) {
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // not allowed: the new file stays the writer's own
        }
    }
    return ::fchmod(fd, (old.st_mode & 07777) | S_IRUSR) == 0;
}

// Six letters or digits, as the temporaries' names end.
bool IsTemporarySuffix(const std::string& text) {
    return text.size() == kTemporarySuffixLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// Where the temporary of target is named: its folder, "." and its name, the mark.
std::string TemporaryPrefix(const std::string& target) {
    return FolderOf(target) + "." + NameOf(target) + kTemporaryMark;
}

std::string RandomSuffix(std::mt19937& random) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(kTemporarySuffixLength, 'a');
    for (char& c : suffix) c = kLetters[pick(random)];
    return suffix;
}

// A file open for writing in the target's folder (so that rename stays on one file
// system). Where the file system allows it, the file has no name at all while it is
// written (O_TMPFILE): a kill or a power cut then leaves nothing behind. Elsewhere it
// is created exclusively under a fresh temporary name (nothing planted under any name
// is ever opened), put in name. -1 with errno set on failure.
int OpenTemporary(const std::string& target, std::string& name) {
    const std::string folder = FolderOf(target);
    name.clear();
    const int unnamed = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed >= 0) return unnamed;
    name = TemporaryPrefix(target) + std::string(kTemporarySuffixLength, 'X');
    return ::mkostemp(name.data(), O_CLOEXEC);
}

// Gives the whole, flushed unnamed file its temporary name, just before it is renamed
// over the target; the name, or empty with errno set.
std::string NameUnnamedFile(int fd, const std::string& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::string name = TemporaryPrefix(target) + RandomSuffix(random);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return name;
        // Without /proc only a privileged process may link the descriptor itself.
        if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return name;
        if (errno != EEXIST) return std::string();
    }
    return std::string();
}

// Makes a rename in folder survive a power cut. A file system that cannot sync
// folders has nothing more to do, so the result is not a failure of the write.
void SyncFolder(const std::string& folder) {
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

void AppendGrid(std::string& text, const Grid& grid) {
    for (const auto& line : grid) {
        for (const std::int32_t value : line) {
            text += ' ';
            text += std::to_string(value);
        }
        text += "\r\n";
    }
}

// A board as read from a file, committed to the real board only when complete.
struct LoadedBoard {
    std::int32_t size = 0;
    Grid values;
    Grid givens;
};

// Reads cells row by row until the stream fails; the cells after a failure keep 0.
// A number that does not fit 32 bits counts as unreadable.
void ReadGrid(std::istream& in, Grid& grid, bool& readable) {
    for (auto& line : grid) {
        for (auto& cell : line) {
            if (!readable) return;
            std::int32_t value = 0;
            if (in >> value) {
                cell = value;
            } else {
                readable = false;
            }
        }
    }
}

// Parses a saved game. False when the file holds no board the game accepts: a first
// token that is not an integer, or a size other than 0 and 16.
bool ReadSavedGame(std::istream& in, LoadedBoard& board) {
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {  // nothing but white space: an empty board
        board = LoadedBoard{};
        return true;
    }
    std::int32_t size = 0;
    if (!(in >> size)) return false;
    if (size != 0 && size != kSavedBoardSize) return false;
    board.size = size;
    const auto n = static_cast<std::size_t>(size);
    board.values.assign(n, std::vector<std::int32_t>(n, 0));
    board.givens.assign(n, std::vector<std::int32_t>(n, 0));
    bool readable = true;
    ReadGrid(in, board.values, readable);
    ReadGrid(in, board.givens, readable);
    return true;
}

}  // namespace

std::string SavedGameText(const SudokuBoard& board) {
    if (board.size <= 0 || !HasShape(board.values, board.size) || !HasShape(board.givens, board.size))
        return {};
    std::string text = std::to_string(board.size) + "\r\n";
    AppendGrid(text, board.values);
    AppendGrid(text, board.givens);
    return text;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
    return WriteFileAtomically(path, bytes) == 0;
}

int WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = FileBehindLinks(path);
    if (target.empty()) return ELOOP;
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return S_ISDIR(old.st_mode) ? EISDIR : EEXIST;  // left alone

    std::string temporary;
    UniqueFd file(OpenTemporary(target, temporary));
    if (file.get() < 0) return errno;
    std::optional<TemporaryName> cleanup;
    if (!temporary.empty()) cleanup.emplace(temporary);
    const bool attributes =
        exists ? TakeOverAttributes(file.get(), old) : ::fchmod(file.get(), NewFileMode()) == 0;
    if (!attributes || !WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0) return errno;
    if (temporary.empty()) {
        temporary = NameUnnamedFile(file.get(), target);
        if (temporary.empty()) return errno;
        cleanup.emplace(temporary);
    }
    if (!file.Close()) return errno;
    if (std::rename(temporary.c_str(), target.c_str()) != 0) return errno;
    cleanup->Keep();
    SyncFolder(FolderOf(target));
    return 0;
}

std::string WriteFailureReason(int error) {
    if (error == EISDIR) return "a folder is in the file's place";
    if (error == EEXIST) return "something other than a regular file is in the file's place";
    return std::strerror(error);
}

int RemoveStaleTemporaries(const std::string& folder, const std::vector<std::string>& names,
                           std::time_t notAfter) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    int removed = 0;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        const bool ours = std::any_of(names.begin(), names.end(), [&name](const std::string& file) {
            const std::string prefix = TemporaryPrefix(file);
            return name.size() == prefix.size() + kTemporarySuffixLength && name.rfind(prefix, 0) == 0 &&
                   IsTemporarySuffix(name.substr(prefix.size()));
        });
        if (!ours) continue;
        const std::string path = folder + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
            info.st_mtime >= notAfter)
            continue;
        removed += ::unlink(path.c_str()) == 0;
    }
    return removed;
}

void SudokuBoard::Save(const std::string& name) const {
    const std::string text = SavedGameText(*this);
    if (text.empty()) return;  // nothing to keep; an existing file stays as it is
    ReplaceFileContents(directory + name, text);
}

bool ParseSavedGame(const std::string& text, SudokuBoard& board) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    LoadedBoard loaded;
    if (!ReadSavedGame(in, loaded)) return false;
    board.size = loaded.size;
    board.boxSize = static_cast<std::int32_t>(std::sqrt(static_cast<double>(loaded.size)));
    board.values = std::move(loaded.values);
    board.givens = std::move(loaded.givens);
    return true;
}

bool SudokuBoard::Load(const std::string& name) {
    std::string bytes;
    if (!ReadRegularFile(directory + name, kLargestReadableFile, bytes)) return false;
    return ParseSavedGame(bytes, *this);
}
