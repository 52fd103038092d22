// The statistics screen, drawn over the main menu when S is pressed: per kind of
// puzzle and level, games played and won, the win rate, the best and the average
// winning time, the current and the longest winning streak, and a small chart of the
// last winning times (bars drawn by the game, a game won with hints in another
// shade). Any key or click closes it. Draws only; the rows are a copy the writer
// thread computed (save/play_statistics.h), so drawing reads no disk.
#pragma once

#include <vector>

#include "engine/gk.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "save/records/play_statistics.h"

void DrawStatisticsOverlay(GK& gk, gkFont& font, const std::vector<LevelStatistics>& rows,
                           const Palette& palette);
