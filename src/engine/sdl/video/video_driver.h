// Which of SDL's video drivers and renderers the engine can use. A driver that shows
// no window (offscreen, dummy, evdev: what SDL falls back to without a display) is
// taken only when the player names it in SDL_VIDEODRIVER, and a busy X server's refusal
// is tried again for a moment. An OpenGL renderer that the processor rasterises
// (llvmpipe and its kin) costs more than SDL's own software renderer, so the engine
// tells it apart, as it does a machine without a graphics device. Owns nothing: it
// asks SDL, OpenGL and /dev/dri.
#pragma once

#include <SDL.h>

// Starts SDL's video on a driver that shows windows. Where an X display is named and
// no other driver, a refused connection is tried again for two seconds. Null on success,
// else what failed last: SDL's video start or the search for a display.
const char* StartVideo();

// The OpenGL implementation's name (GL_RENDERER) for the current context; empty
// text when there is none.
const char* GlRendererName();

// True when the machine has a DRM render node (/dev/dri/renderD*), the device
// through which a graphics driver renders.
bool HasGraphicsRenderNode();

// True when the renderer is OpenGL drawn by the processor (llvmpipe, softpipe, swrast).
bool IsProcessorRasterisedGl(SDL_Renderer* renderer);
