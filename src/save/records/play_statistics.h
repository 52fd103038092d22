// Statistics of the games played, per kind of puzzle and level: games played and
// won, the win rate, the best and the average winning time, the current and the
// longest winning streak, and the last winning times for a small chart. A game in
// progress is not counted yet; an abandoned one is played and breaks a streak. A game
// won with hints counts as won but sets no best time. Computed from the games' rows
// (play_database.h); owns nothing. Standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "save/records/play_database.h"
#include "save/scores.h"

// The most winning times a row keeps for its chart.
constexpr std::size_t kChartedWins = 30;

struct LevelStatistics {
    PuzzleKind kind = PuzzleKind::Classic;
    std::int32_t level = 0;  // Easy..Hard, or 0 for a puzzle brought in without one
    unsigned played = 0, won = 0;
    std::optional<std::uint64_t> bestSeconds, averageSeconds;
    unsigned streak = 0, longestStreak = 0;
    std::vector<std::uint64_t> lastWins;  // oldest first, at most kChartedWins
    std::vector<bool> lastWinsWithHints;  // beside lastWins

    // Won per hundred played, rounded down; 0 while none was played.
    unsigned WinPercent() const { return played ? won * 100 / played : 0; }
};

// A row for each kind and level of the classic and logic puzzles, then one for each
// other kind and level that has games. classicBest (the best times kept apart, taken
// over from earlier versions too) counts towards the classic levels' best times.
std::vector<LevelStatistics> ComputeStatistics(const std::vector<GameEntry>& games,
                                               const BestTimes& classicBest);

// "classic", "logic", "pasted", "file"; and "easy", "medium", "hard", "ungraded".
const char* KindWord(PuzzleKind kind);
const char* LevelWord(std::int32_t level);
// "M:SS", or "-" for none.
std::string MinutesText(const std::optional<std::uint64_t>& seconds);
// "<kind> <level> played P won W best M:SS average M:SS streak S longest L".
std::string StatisticsLine(const LevelStatistics& row);
