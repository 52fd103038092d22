// The main menu's best-times line: the best time of each level that has one, in
// the status line's font scale and colour, under the menu. Owns nothing; draws
// only, and leaves the font at scale 1.
#pragma once

#include "gfx/font.h"
#include "save/scores.h"

constexpr float BestTimesY = 650.0f;

// Nothing while no level has a best time.
void DrawBestTimes(gkFont& font, const BestTimes& best);
