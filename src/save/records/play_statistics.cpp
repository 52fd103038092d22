// Statistics of the games played: grouping the rows, streaks, best and average times.
#include "save/records/play_statistics.h"

#include <algorithm>
#include <cstdio>

#include "sudoku/levels.h"

namespace {

LevelStatistics& RowOf(std::vector<LevelStatistics>& rows, PuzzleKind kind, std::int32_t level) {
    for (LevelStatistics& row : rows)
        if (row.kind == kind && row.level == level) return row;
    LevelStatistics row;
    row.kind = kind;
    row.level = level;
    rows.push_back(row);
    return rows.back();
}

void KeepBest(std::optional<std::uint64_t>& best, std::uint64_t seconds) {
    if (seconds >= 1 && (!best || seconds < *best)) best = seconds;
}

void Count(LevelStatistics& row, const GameEntry& game, std::uint64_t& winSeconds) {
    if (game.outcome == GameOutcome::InProgress) return;
    ++row.played;
    if (game.outcome != GameOutcome::Won) {
        row.streak = 0;
        return;
    }
    ++row.won;
    winSeconds += game.playSeconds;
    row.longestStreak = std::max(row.longestStreak, ++row.streak);
    if (game.hints == 0) KeepBest(row.bestSeconds, game.playSeconds);
    row.lastWins.push_back(game.playSeconds);
    row.lastWinsWithHints.push_back(game.hints > 0);
    if (row.lastWins.size() > kChartedWins) {
        row.lastWins.erase(row.lastWins.begin());
        row.lastWinsWithHints.erase(row.lastWinsWithHints.begin());
    }
}

}  // namespace

std::vector<LevelStatistics> ComputeStatistics(const std::vector<GameEntry>& games,
                                               const BestTimes& classicBest) {
    std::vector<LevelStatistics> rows;
    for (std::int32_t level : {Easy, Medium, Hard}) RowOf(rows, PuzzleKind::Classic, level);
    for (std::int32_t level : {Easy, Medium, Hard, Expert}) RowOf(rows, PuzzleKind::Logic, level);
    std::vector<std::uint64_t> winSeconds(rows.size());
    for (const GameEntry& game : games) {
        const std::int32_t level = IsLevel(game.level) ? game.level : 0;
        LevelStatistics& row = RowOf(rows, game.kind, level);
        winSeconds.resize(rows.size());
        Count(row, game, winSeconds[static_cast<std::size_t>(&row - rows.data())]);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        LevelStatistics& row = rows[i];
        if (row.won) row.averageSeconds = (winSeconds[i] + row.won / 2) / row.won;
        if (row.kind == PuzzleKind::Classic)
            if (const auto best = classicBest.Of(row.level)) KeepBest(row.bestSeconds, *best);
    }
    return rows;
}

const char* KindWord(PuzzleKind kind) {
    switch (kind) {
        case PuzzleKind::Classic:
            return "classic";
        case PuzzleKind::Logic:
            return "logic";
        case PuzzleKind::Pasted:
            return "pasted";
        case PuzzleKind::File:
            break;
    }
    return "file";
}

const char* LevelWord(std::int32_t level) {
    switch (level) {
        case Easy:
            return "easy";
        case Medium:
            return "medium";
        case Hard:
            return "hard";
        case Expert:
            return "expert";
        default:
            return "ungraded";
    }
}

std::string MinutesText(const std::optional<std::uint64_t>& seconds) {
    if (!seconds) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02u", static_cast<unsigned long long>(*seconds / 60),
                  static_cast<unsigned>(*seconds % 60));
    return text;
}

std::string StatisticsLine(const LevelStatistics& row) {
    char line[200];
    std::snprintf(line, sizeof line, "%s %s played %u won %u best %s average %s streak %u longest %u",
                  KindWord(row.kind), LevelWord(row.level), row.played, row.won,
                  MinutesText(row.bestSeconds).c_str(), MinutesText(row.averageSeconds).c_str(), row.streak,
                  row.longestStreak);
    return line;
}
