// The main menu's best-times line: the best time of each level that has one, in
// the status line's look (status_line.h), at the foot of the screen (layout.h).
// Owns nothing; draws only, and leaves the font at scale 1.
#pragma once

#include "gfx/font.h"
#include "gfx/palette.h"
#include "save/scores.h"

// Nothing while no level has a best time.
void DrawBestTimes(gkFont& font, const BestTimes& best, const Palette& palette);
