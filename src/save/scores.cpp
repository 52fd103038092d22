// Best times: record keeping, the text form, and its file.
#include "save/scores.h"

#include <string_view>

#include "save/file_read.h"
#include "save/game_state.h"
#include "save/save.h"

namespace {

constexpr std::string_view kHeader = "veltrane-sudoku best-times 1\n";
constexpr std::array<std::string_view, 3> kLevelNames = {"easy", "medium", "hard"};

// A time a won game can set: no game is won within its first second, and the clock
// stops at 100 years. 0 would be a best time nobody beats.
bool IsPlayTime(std::uint64_t seconds) {
    return seconds >= 1 && seconds <= kMaxPlaySeconds;
}

// Index into BestTimes::seconds, or -1 for a level outside Easy..Hard.
int LevelIndex(std::int32_t level) {
    return level >= Easy && level <= Hard ? level - Easy : -1;
}

// A decimal number without sign or leading zero that fits 64 bits: the whole of word.
bool ParseSeconds(std::string_view word, std::uint64_t& value) {
    if (word.empty() || (word.size() > 1 && word[0] == '0')) return false;
    std::uint64_t result = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (result > (UINT64_MAX - digit) / 10) return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

// Takes "<name> <seconds or ->\n" from the front of text.
bool ParseLevelLine(std::string_view& text, std::string_view name, std::optional<std::uint64_t>& seconds) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.substr(0, name.size()) != name || line.size() <= name.size() || line[name.size()] != ' ')
        return false;
    const std::string_view word = line.substr(name.size() + 1);
    if (word == "-") {
        seconds.reset();
        return true;
    }
    std::uint64_t value = 0;
    if (!ParseSeconds(word, value) || !IsPlayTime(value)) return false;
    seconds = value;
    return true;
}

}  // namespace

std::optional<std::uint64_t> BestTimes::Of(std::int32_t level) const {
    const int index = LevelIndex(level);
    if (index < 0) return std::nullopt;
    return seconds[static_cast<std::size_t>(index)];
}

bool BestTimes::Record(std::int32_t level, std::uint64_t playSeconds) {
    const int index = LevelIndex(level);
    if (index < 0 || !IsPlayTime(playSeconds)) return false;
    std::optional<std::uint64_t>& best = seconds[static_cast<std::size_t>(index)];
    if (best && *best <= playSeconds) return false;
    best = playSeconds;
    return true;
}

std::string BestTimesText(const BestTimes& best) {
    std::string text(kHeader);
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        text += kLevelNames[i];
        text += ' ';
        text += best.seconds[i] ? std::to_string(*best.seconds[i]) : "-";
        text += '\n';
    }
    return text;
}

bool ParseBestTimes(const std::string& text, BestTimes& best) {
    std::string_view rest(text);
    if (rest.substr(0, kHeader.size()) != kHeader) return false;
    rest.remove_prefix(kHeader.size());
    BestTimes read;
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        if (!ParseLevelLine(rest, kLevelNames[i], read.seconds[i])) return false;
    }
    if (!rest.empty()) return false;
    best = read;
    return true;
}

BestTimes LoadBestTimes(const std::string& path) {
    std::string text;
    BestTimes best;
    if (ReadRegularFile(path, kMaxBestTimesBytes, text)) ParseBestTimes(text, best);
    return best;
}

bool SaveBestTimes(const std::string& path, const BestTimes& best) {
    return ReplaceFileContents(path, BestTimesText(best));
}

bool RecordWonGame(const std::string& path, std::int32_t level, std::uint64_t playSeconds) {
    BestTimes best = LoadBestTimes(path);
    if (!best.Record(level, playSeconds)) return false;
    return SaveBestTimes(path, best);
}
