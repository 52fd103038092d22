#include "engine/sdl/video/window_icon.h"

#include <cstring>

#include "engine/gk.h"

#if __has_include("engine/sdl/icon_pixels.inc")
#include "engine/sdl/icon_pixels.inc"
#define GK_HAVE_ICON_PIXELS 1
#else
#define GK_HAVE_ICON_PIXELS 0
#endif

namespace {

#if GK_HAVE_ICON_PIXELS
SdlSurfacePtr SurfaceFromRgba(const unsigned char* rgba, int size) {
    SdlSurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_RGBA32));
    if (!surface) return nullptr;
    const std::size_t rowBytes = static_cast<std::size_t>(size) * 4;
    auto* pixels = static_cast<unsigned char*>(surface->pixels);
    for (int row = 0; row < size; ++row) {
        std::memcpy(pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(surface->pitch),
                    rgba + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    }
    return surface;
}
#endif

}  // namespace

SdlSurfacePtr CreateWindowIconSurface(int resourceId) {
    if (resourceId != GK_ICON_RESOURCE) return nullptr;
#if GK_HAVE_ICON_PIXELS
    static_assert(sizeof(kIcon32Rgba) == static_cast<std::size_t>(kIcon32Size) * kIcon32Size * 4,
                  "icon pixels must be kIcon32Size squared RGBA pixels");
    // SDL takes one icon image; the window manager scales it for its smaller uses.
    return SurfaceFromRgba(kIcon32Rgba, kIcon32Size);
#else
    return nullptr;
#endif
}
