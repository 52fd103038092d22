// The statistics screen: a panel in the help's colours, a table and a bar chart per row.
#include "app/screens/statistics_overlay.h"

#include <algorithm>
#include <cstdio>

#include "gfx/shapes.h"
#include "gfx/text.h"
#include "play/view/help_overlay.h"
#include "play/view/layout.h"

namespace {

constexpr const char* Title = "Statistics";
constexpr const char* Closing = "Any key or click closes the statistics.";
constexpr const char* ChartNote = "Bars: the last 30 winning times, oldest first (pale: won with hints).";
constexpr float TitleY = 92.0f, HeaderY = 140.0f, RowsY = 166.0f, RowPitch = 26.0f, ClosingY = 590.0f;
constexpr float ChartNoteY = 566.0f;
// The columns' left edges: kind, level, played, won, rate, best, average, streak, longest, chart.
constexpr float Columns[] = {108, 168, 236, 288, 326, 372, 424, 486, 536};
constexpr float ChartX = 592.0f, ChartWidth = 105.0f, ChartHeight = 20.0f;
constexpr float HeaderScale = 0.5f, CellScale = 0.55f;
constexpr const char* Headers[] = {"Puzzles", "Level",   "Played", "Won",    "Rate",
                                   "Best",    "Average", "Streak", "Longest"};
// The mark of the chart's bars: the help's key colour, paler for a win with hints.
constexpr std::uint32_t PaleAlpha = 0x80000000u;

// Bars of the row's last winning times, scaled to the slowest of them.
void DrawChart(GK& gk, const LevelStatistics& row, float baseline, const Palette& palette) {
    if (row.lastWins.empty()) return;
    const std::uint64_t slowest =
        std::max<std::uint64_t>(1, *std::max_element(row.lastWins.begin(), row.lastWins.end()));
    const float pitch = ChartWidth / static_cast<float>(kChartedWins);
    for (std::size_t i = 0; i < row.lastWins.size(); ++i) {
        const float h =
            std::max(1.0f, ChartHeight * static_cast<float>(row.lastWins[i]) / static_cast<float>(slowest));
        const std::uint32_t color =
            row.lastWinsWithHints[i] ? (palette.helpKey & 0x00FFFFFFu) | PaleAlpha : palette.helpKey;
        DrawFilledRect(gk, ChartX + pitch * static_cast<float>(i), baseline - h, std::max(1.0f, pitch - 1.0f),
                       h, color);
    }
}

void DrawRow(GK& gk, gkFont& font, const LevelStatistics& row, float y, const Palette& palette) {
    char played[16], won[16], rate[16], streak[16], longest[16];
    std::snprintf(played, sizeof played, "%u", row.played);
    std::snprintf(won, sizeof won, "%u", row.won);
    if (row.played) {
        std::snprintf(rate, sizeof rate, "%u%%", row.WinPercent());
    } else {
        std::snprintf(rate, sizeof rate, "-");
    }
    std::snprintf(streak, sizeof streak, "%u", row.streak);
    std::snprintf(longest, sizeof longest, "%u", row.longestStreak);
    const std::string best = MinutesText(row.bestSeconds), average = MinutesText(row.averageSeconds);
    const char* cells[] = {KindWord(row.kind), LevelWord(row.level), played, won,    rate,
                           best.c_str(),       average.c_str(),      streak, longest};
    for (std::size_t i = 0; i < std::size(cells); ++i)
        DrawText(font, Columns[i], y, AlignLeft, {CellScale, i < 2 ? palette.helpKey : palette.helpText},
                 cells[i]);
    DrawChart(gk, row, y + ChartHeight, palette);
}

}  // namespace

void DrawStatisticsOverlay(GK& gk, gkFont& font, const std::vector<LevelStatistics>& rows,
                           const Palette& palette) {
    DrawFilledRect(gk, HelpPanelLeft, HelpPanelTop, HelpPanelRight - HelpPanelLeft,
                   HelpPanelBottom - HelpPanelTop, palette.helpPanel);
    DrawText(font, ScreenCenterX, TitleY, AlignCenter, {HelpTitleScale, palette.helpTitle}, Title);
    for (std::size_t i = 0; i < std::size(Headers); ++i)
        DrawText(font, Columns[i], HeaderY, AlignLeft, {HeaderScale, palette.helpTitle}, Headers[i]);
    DrawText(font, ChartX, HeaderY, AlignLeft, {HeaderScale, palette.helpTitle}, "Last wins");
    const std::size_t shown =
        std::min<std::size_t>(rows.size(), static_cast<std::size_t>((ChartNoteY - RowsY) / RowPitch));
    for (std::size_t i = 0; i < shown; ++i)
        DrawRow(gk, font, rows[i], RowsY + RowPitch * static_cast<float>(i), palette);
    DrawText(font, ScreenCenterX, ChartNoteY, AlignCenter, {HelpScale, palette.helpText}, ChartNote);
    DrawText(font, ScreenCenterX, ClosingY, AlignCenter, {HelpScale, palette.helpTitle}, Closing);
}
