// Full screen where no window manager runs (a bare X server, a kiosk session). SDL
// asks the window manager to make a full-screen window cover the display and then
// draws for the display's size; without a window manager nobody answers, the
// window keeps its size and shows only a part of the picture. This checks the
// window's real size on X11 and, when no window manager runs, moves and resizes the
// window over its display itself. Elsewhere it does nothing. No state.
#pragma once

#include <SDL.h>

// For a full-screen window: true when it was moved and resized to cover its display.
bool CoverDisplayWithoutWindowManager(SDL_Window* window);
