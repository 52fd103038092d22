// Which video driver and renderer the engine uses: see video_driver.h.
#include "engine/sdl/video/video_driver.h"

#include <cstring>
#include <filesystem>
#include <string>

namespace {

// A busy X server refuses a connection now and then (its queue of new ones is full:
// a login, many programs starting at once): the display is tried again for this long.
constexpr Uint32 kDisplayRetryMs = 2000;
constexpr Uint32 kDisplayRetryPauseMs = 50;

// Without a display SDL falls back to a video driver that shows nothing, and the
// game would run unseen until killed. Such drivers are used only when the player
// names one in SDL_VIDEODRIVER (as the tests do).
bool DriverShowsWindows() {
    const char* named = SDL_getenv("SDL_VIDEODRIVER");
    if (named != nullptr && named[0] != '\0') return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    for (const char* invisible : {"offscreen", "dummy", "evdev"}) {
        if (SDL_strcasecmp(driver, invisible) == 0) {
            SDL_SetError(
                "SDL's video driver \"%s\" shows no window (name it in SDL_VIDEODRIVER "
                "to run without one)",
                driver);
            return false;
        }
    }
    return true;
}

}  // namespace

const char* StartVideo() {
    const char* named = SDL_getenv("SDL_VIDEODRIVER");
    const char* display = SDL_getenv("DISPLAY");
    const bool retry = display != nullptr && display[0] != '\0' &&
                       (named == nullptr || named[0] == '\0' || SDL_strcasecmp(named, "x11") == 0);
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        const char* failed = "SDL_Init";
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            if (DriverShowsWindows()) return nullptr;
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            failed = "no display found";
        }
        if (!retry || SDL_GetTicks() - start >= kDisplayRetryMs) return failed;
        SDL_Delay(kDisplayRetryPauseMs);
    }
}

const char* GlRendererName() {
    constexpr unsigned int kGlRenderer = 0x1F01;
    using GetString = const unsigned char* (*)(unsigned int);
    void* address = SDL_GL_GetProcAddress("glGetString");
    if (address == nullptr || SDL_GL_GetCurrentContext() == nullptr) return "";
    GetString getString = nullptr;
    static_assert(sizeof getString == sizeof address, "function and object pointers differ in size");
    std::memcpy(&getString, &address, sizeof getString);
    const unsigned char* name = getString(kGlRenderer);
    return name ? reinterpret_cast<const char*>(name) : "";
}

bool HasGraphicsRenderNode() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    }
    return false;
}

bool IsProcessorRasterisedGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return false;
    if (std::strncmp(info.name, "opengl", 6) != 0) return false;  // opengl, opengles2
    const std::string name = GlRendererName();
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (name.find(software) != std::string::npos) return true;
    }
    return false;
}
