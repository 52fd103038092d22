// Size of the window at start on displays of high pixel density: where the
// system does not scale windows itself, a window of 800 x 700 physical pixels
// would be tiny, so the window opens at a whole multiple of the game's size
// that suits the display's density and fits its usable area. The game's own
// coordinates never change (the renderer scales). Also where the scaled game
// lies in a window of any size (full screen included). Pure functions, no state.
#pragma once

// dpi: the display's horizontal density (96 is the usual desktop); usableWidth,
// usableHeight: the display's usable area in pixels (0 when unknown). Returns
// the scale factor, at least 1.
int ChooseWindowScale(float dpi, int usableWidth, int usableHeight, int width, int height);

// The output pixels the game's width x height fill in an output of outputWidth x
// outputHeight: scaled by one factor to fill one direction, centred in the other
// (bars at the sides or above and below), rounded as SDL's renderer rounds them.
// x, y, w, h are all 0 when a size is not positive.
struct ScaledArea {
    int x = 0, y = 0, w = 0, h = 0;
};
ScaledArea LetterboxArea(int outputWidth, int outputHeight, int width, int height);
