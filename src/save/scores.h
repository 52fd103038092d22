// Best times: the shortest play time of a won game per level (Easy, Medium, Hard), kept in
// a small text file beside the saved game ("best-times"). Reading never fails: a missing,
// damaged, oversized or newer file means no best times. Writing is atomic, like the saved
// game. This module owns the record and its file; the play screen decides when a game is
// won and the menu shows the figures. Standard library and POSIX only.
//
// Text form (ASCII, LF line ends), one line per level in the order Easy, Medium, Hard:
//   veltrane-sudoku best-times 1
//   easy <seconds, 1 to kMaxPlaySeconds, or ->
//   medium <seconds or ->
//   hard <seconds or ->
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "sudoku/board.h"

// The file's name in the saved game's folder.
constexpr const char* BestTimesFileName = "best-times";
// Larger files are refused unread.
constexpr std::size_t kMaxBestTimesBytes = 4096;

struct BestTimes {
    // Seconds per level, Easy first; empty while the level has no won game.
    std::array<std::optional<std::uint64_t>, 3> seconds;

    // The level's best time; empty for a level outside Easy..Hard.
    std::optional<std::uint64_t> Of(std::int32_t level) const;
    // Keeps a won game's time when the level has none yet or it beats the best; true
    // when the best changed. A level outside Easy..Hard, or a time outside 1 second to
    // kMaxPlaySeconds (a game won under a second, only from a board brought in nearly
    // full), changes nothing.
    bool Record(std::int32_t level, std::uint64_t playSeconds);

    bool operator==(const BestTimes& other) const { return seconds == other.seconds; }
};

std::string BestTimesText(const BestTimes& best);
// False (best untouched) for anything but the exact text BestTimesText writes.
bool ParseBestTimes(const std::string& text, BestTimes& best);

// The best times in the file at path; none when it is missing, damaged or not a regular file.
BestTimes LoadBestTimes(const std::string& path);
// Atomic write of the file at path; true on success.
bool SaveBestTimes(const std::string& path, const BestTimes& best);
// Records a won game: reads the file, keeps the better time, and writes the file only when
// the best changed. True when this game set a new best and it was written.
bool RecordWonGame(const std::string& path, std::int32_t level, std::uint64_t playSeconds);
