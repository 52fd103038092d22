// The real GK engine on SDL2 (gkCreate in sdl_engine.cpp returns it): a window
// with an accelerated renderer (software where none is available), SDL_image
// textures, SDL_mixer sound effects, and the frame loop. It only translates:
// SDL events into the engine's input, quads into SDL draw calls.
//
// This header adds what the game does not use: reading back rendered frames,
// for tests and screenshots, and switching the images' high-resolution companions
// off to compare frames drawn without them. While frame capture is on, every Gfx_EndScene
// copies the finished frame (before presenting it) into memory; the functions
// below work on the last copy. Capture costs a read-back per frame, so it is
// off until asked for. The functions below live in sdl_engine_capture.cpp; the
// engine's class, private to this folder, in sdl_engine_state.h.
#pragma once

#include <cstddef>
#include <cstdint>

// Turns capture of the rendered frames on or off; false when no engine exists.
bool gkSdlSetFrameCapture(bool enabled);
// Writes the last captured frame as a PNG file; false without one or on a write error.
bool gkSdlSaveScreenshot(const char* pngPath);
// The colour (ARGB) of the last captured frame at game pixel (x, y); false without
// a captured frame or outside it.
bool gkSdlReadPixel(int x, int y, std::uint32_t* argb);
// True when presenting a frame waits for the display (then no extra pause is made).
bool gkSdlVsyncActive();
// True when an audio device is open (otherwise sound effects load but play silently).
bool gkSdlAudioActive();
// Turns the images' high-resolution companions (name@2x.png beside name.png) on, as
// they are by default, or off, for the textures loaded afterwards; kept across engines.
void gkSdlUseCompanions(bool enabled);
// True while a companion the output's scale calls for is still being decoded (on a
// thread of its own; the textures draw from what they had until it is done).
bool gkSdlCompanionsPending();
// The memory the images' companions hold (their file bytes, the pixels decoded or being
// decoded, their textures), counted against the 64 MB they may take; each file once.
std::size_t gkSdlCompanionBytes();
// Frames drawn and shown since the engine started. A scene made of exactly the
// quads already on screen is not drawn again (unless frames are captured).
int gkSdlFramesShown();
// Seconds on SDL's performance counter when the last frame's present returned; 0 before one.
double gkSdlLastPresentSeconds();
