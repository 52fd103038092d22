// Read-back of the SDL engine's frames for tests and screenshots, and the functions
// of sdl_engine.h, which ask the one engine (or answer for none). The captured frame
// belongs to SdlEngine (sdl_engine_state.h); capture is off until asked for.
#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_engine_state.h"
#include "engine/sdl/video/window_scale.h"

// Reads the finished frame back before it is presented (afterwards the back
// buffer's contents are undefined). The whole output is read, bars included;
// frameArea keeps where the game's pixels lie in it.
void SdlEngine::CaptureFrame() {
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) != 0) return;
    if (outputWidth <= 0 || outputHeight <= 0) return;
    SdlSurfacePtr frame(
        SDL_CreateRGBSurfaceWithFormat(0, outputWidth, outputHeight, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!frame) return;
    // SDL reads the part of this rectangle that the game's viewport covers, at its
    // place in the buffer, so a buffer of the whole output is always large enough.
    const SDL_Rect whole{0, 0, outputWidth, outputHeight};
    if (SDL_RenderReadPixels(renderer.get(), &whole, SDL_PIXELFORMAT_ARGB8888, frame->pixels, frame->pitch) !=
        0) {
        return;
    }
    const ScaledArea scaled = LetterboxArea(outputWidth, outputHeight, width, height);
    const SDL_Rect area{scaled.x, scaled.y, scaled.w, scaled.h};
    SDL_Rect clipped{};
    if (!SDL_IntersectRect(&area, &whole, &clipped)) clipped = whole;
    frameArea = clipped;
    lastFrame = std::move(frame);
}

namespace {

SdlEngine* Engine() {
    return TheEngine().get();
}

}  // namespace

bool gkSdlSetFrameCapture(bool enabled) {
    SdlEngine* engine = Engine();
    if (engine == nullptr) return false;
    engine->SetFrameCapture(enabled);
    return true;
}

bool gkSdlSaveScreenshot(const char* pngPath) {
    const SdlEngine* engine = Engine();
    if (engine == nullptr || engine->LastFrame() == nullptr || pngPath == nullptr) return false;
    return IMG_SavePNG(const_cast<SDL_Surface*>(engine->LastFrame()), pngPath) == 0;
}

bool gkSdlReadPixel(int x, int y, std::uint32_t* argb) {
    const SdlEngine* engine = Engine();
    if (engine == nullptr || argb == nullptr) return false;
    const SDL_Surface* frame = engine->LastFrame();
    if (frame == nullptr || x < 0 || y < 0 || x >= engine->LogicalWidth() || y >= engine->LogicalHeight()) {
        return false;
    }
    // Game pixels to captured pixels (they differ when the window is scaled).
    const SDL_Rect& area = engine->LastFrameArea();
    const long long column = area.x + static_cast<long long>(x) * area.w / engine->LogicalWidth();
    const long long row = area.y + static_cast<long long>(y) * area.h / engine->LogicalHeight();
    if (column < 0 || row < 0 || column >= frame->w || row >= frame->h) return false;
    const auto* line = static_cast<const unsigned char*>(frame->pixels) + row * frame->pitch;
    std::memcpy(argb, line + column * 4, sizeof *argb);
    return true;
}

bool gkSdlVsyncActive() {
    const SdlEngine* engine = Engine();
    return engine != nullptr && engine->VsyncActive();
}

bool gkSdlCompanionsPending() {
    const SdlEngine* engine = Engine();
    return engine != nullptr && engine->CompanionsPending();
}

std::size_t gkSdlCompanionBytes() {
    const SdlEngine* engine = Engine();
    return engine != nullptr ? engine->CompanionBytes() : 0;
}

void gkSdlUseCompanions(bool enabled) {
    CompanionsWanted() = enabled;
}

int gkSdlFramesShown() {
    const SdlEngine* engine = Engine();
    return engine != nullptr ? engine->FramesShown() : 0;
}

double gkSdlLastPresentSeconds() {
    const SdlEngine* engine = Engine();
    return engine != nullptr ? engine->LastPresentSeconds() : 0.0;
}

bool gkSdlAudioActive() {
    const SdlEngine* engine = Engine();
    return engine != nullptr && engine->AudioActive();
}
