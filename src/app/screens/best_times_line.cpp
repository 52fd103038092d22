#include "app/screens/best_times_line.h"

#include "play/view/status_line.h"
#include "sudoku/generator.h"

void DrawBestTimes(gkFont& font, const BestTimes& best, const Palette& palette) {
    char line[160];
    char time[32];
    std::size_t used = 0;
    for (std::int32_t level : {Easy, Medium, Hard}) {
        const auto seconds = best.Of(level);
        if (!seconds) continue;
        AppendText(line, sizeof line, used, used == 0 ? "Best times:  %s %s" : "    %s %s", LevelName(level),
               FormatPlayTime(*seconds, time, sizeof time));
    }
    if (used == 0) return;
    DrawText(font, ScreenCenterX, BestTimesY, AlignCenter, StatusTextStyle(palette), line);
}
