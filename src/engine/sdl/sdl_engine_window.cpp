// The SDL engine's window and renderer: opening the window (hidden until it is
// ready), choosing the renderer (accelerated with vsync where a graphics device
// draws, else SDL's software renderer), switching between a window and full screen,
// the icon, the window's size on dense displays and the watch on the X connection.
// The window and renderer themselves belong to SdlEngine (sdl_engine_state.h).
#include <SDL.h>
#include <SDL_syswm.h>

#include "engine/sdl/sdl_engine_state.h"
#include "engine/sdl/video/video_driver.h"
#include "engine/sdl/video/window_fit.h"
#include "engine/sdl/video/window_icon.h"
#include "engine/sdl/video/window_scale.h"

void SdlEngine::ApplyWindowMode() {
    const Uint32 mode = windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if ((SDL_GetWindowFlags(window.get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) == mode) return;
    if (!windowed) SDL_GetWindowSize(window.get(), &windowedWidth, &windowedHeight);
    if (SDL_SetWindowFullscreen(window.get(), mode) != 0) {
        log.Write("Can't switch to %s: %s", windowed ? "a window" : "full screen", SDL_GetError());
    } else if (windowed && windowedWidth > 0 && windowedHeight > 0) {
        // Back at the size it had, where the system does not restore it by itself.
        SDL_SetWindowSize(window.get(), windowedWidth, windowedHeight);
    } else if (!windowed) {
        CoverDisplayWithoutWindowManager(window.get());
    }
    redrawNeeded = true;
}

// The X connection's socket is watched for the server's hang-up from the window on.
void SdlEngine::WatchDisplayConnection() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window.get(), &info) || info.subsystem != SDL_SYSWM_X11) return;
    displayLoss->WatchConnection(info.info.x11.display);
}

bool SdlEngine::OpenWindow() {
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
    if (!windowed) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        windowedWidth = width;  // the size a later switch to a window gives it
        windowedHeight = height;
    }
    window.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags));
    return window != nullptr;
}

bool SdlEngine::OpenRenderer() {
    // Without a graphics device node any OpenGL would be rasterised by the
    // processor, at several times the cost of SDL's own software renderer.
    if (HasGraphicsRenderNode()) {
        renderer.reset(
            SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
    }
    if (renderer && IsProcessorRasterisedGl(renderer.get())) {
        log.Write("OpenGL is rasterised by the processor (%s); using the software renderer",
                  GlRendererName());
        renderer.reset();
    }
    if (!renderer) {
        // The window's pixels go straight to the display (shared memory on X11)
        // rather than through an OpenGL texture, which again would cost the processor.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The software renderer cannot wait for the display; the frame loop paces itself.
        renderer.reset(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    if (!renderer) return false;
    // The software renderer lists vsync among its flags but cannot wait for a display.
    SDL_RendererInfo info{};
    vsync = SDL_GetRendererInfo(renderer.get(), &info) == 0 &&
            (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    // The software renderer draws into the window's own pixels, which a present only
    // copies to the display; an accelerated one swaps buffers of undefined contents.
    keepsPicture = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    // The game draws in its own 800 x 700 pixels; SDL scales them to the window
    // with bars where the proportions differ, and maps the mouse back.
    return SDL_RenderSetLogicalSize(renderer.get(), width, height) == 0;
}

void SdlEngine::SetWindowIcon() {
    if (iconResource == 0) return;
    SdlSurfacePtr icon = CreateWindowIconSurface(iconResource);
    if (!icon) {
        log.Write("Icon resource %d is not available", iconResource);
        return;
    }
    SDL_SetWindowIcon(window.get(), icon.get());
}

// Where the system scales windows itself (the renderer's output is larger than
// the window), nothing is needed; elsewhere a dense display gets a larger window.
void SdlEngine::ScaleWindowForDensity() {
    if (!windowed) return;
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) != 0) return;
    if (outputWidth > width) return;
    const int display = SDL_GetWindowDisplayIndex(window.get());
    float dpi = 0.0f;
    if (display < 0 || SDL_GetDisplayDPI(display, nullptr, &dpi, nullptr) != 0) return;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
    const int scale = ChooseWindowScale(dpi, usable.w, usable.h, width, height);
    if (scale == 1) return;
    SDL_SetWindowSize(window.get(), width * scale, height * scale);
    SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}
