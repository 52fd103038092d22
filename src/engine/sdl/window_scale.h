// Size of the window at start on displays of high pixel density: where the
// system does not scale windows itself, a window of 800 x 700 physical pixels
// would be tiny, so the window opens at a whole multiple of the game's size
// that suits the display's density and fits its usable area. The game's own
// coordinates never change (the renderer scales). Pure function, no state.
#pragma once

// dpi: the display's horizontal density (96 is the usual desktop); usableWidth,
// usableHeight: the display's usable area in pixels (0 when unknown). Returns
// the scale factor, at least 1.
int ChooseWindowScale(float dpi, int usableWidth, int usableHeight, int width, int height);
