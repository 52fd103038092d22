#include "engine/sdl/image/area_resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Pixel = std::array<float, 4>;  // premultiplied a, r, g, b

// One source pixel an output pixel takes in, with its weight.
struct Tap {
    int output = 0;
    int source = 0;
    float weight = 0;
};

// The taps of count output pixels spread evenly over span source pixels: each output
// pixel averages the source pixels whose centres lie in the part it covers (at least
// one, as it covers a source pixel or more). Partly covered pixels count whole or not
// at all: weighing them by their share would spread every edge over one source pixel
// more, and a source pixel is already most of an output pixel.
std::vector<Tap> Taps(int span, int count) {
    std::vector<Tap> taps;
    const double step = static_cast<double>(span) / count;
    for (int o = 0; o < count; ++o) {
        const double from = o * step, to = o + 1 == count ? span : (o + 1) * step;
        const int first = static_cast<int>(std::ceil(from - 0.5)),
                  end = static_cast<int>(std::ceil(to - 0.5));
        for (int s = first; s < end; ++s) taps.push_back(Tap{o, s, 1.0f / static_cast<float>(end - first)});
    }
    return taps;
}

Pixel Premultiplied(std::uint32_t argb) {
    const float a = static_cast<float>(argb >> 24);
    const float share = a / 255.0f;
    return Pixel{a, share * static_cast<float>((argb >> 16) & 0xFF),
                 share * static_cast<float>((argb >> 8) & 0xFF), share * static_cast<float>(argb & 0xFF)};
}

std::uint32_t Byte(float v) {
    return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Back to straight alpha, the alpha steepened about its middle by contrast.
std::uint32_t Straight(const Pixel& p, float contrast) {
    if (p[0] < 0.5f) return 0;
    const float unshare = 255.0f / p[0];
    const std::uint32_t alpha = Byte((p[0] - 127.5f) * contrast + 127.5f);
    if (alpha == 0) return 0;
    return alpha << 24 | Byte(p[1] * unshare) << 16 | Byte(p[2] * unshare) << 8 | Byte(p[3] * unshare);
}

}  // namespace

SdlSurfacePtr ShrinkByArea(const SDL_Surface& source, const SDL_Rect& region, int width, int height,
                           float alphaContrast) {
    if (source.format == nullptr) return nullptr;
    const Uint32 format = source.format->format;
    if (format != SDL_PIXELFORMAT_ARGB8888 && format != SDL_PIXELFORMAT_RGB888) return nullptr;
    const std::uint32_t opaque = format == SDL_PIXELFORMAT_RGB888 ? 0xFF000000u : 0;  // its top byte is unused
    const bool inside = region.x >= 0 && region.y >= 0 && region.w > 0 && region.h > 0 &&
                        region.x <= source.w - region.w && region.y <= source.h - region.h;
    if (!inside || width <= 0 || height <= 0 || width > region.w || height > region.h) return nullptr;
    SdlSurfacePtr shrunk(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format));
    if (!shrunk) return nullptr;

    // Across first (every source row of the region), then down.
    const std::vector<Tap> across = Taps(region.w, width), down = Taps(region.h, height);
    std::vector<Pixel> rows(static_cast<std::size_t>(width) * region.h, Pixel{});
    const auto* bytes = static_cast<const unsigned char*>(source.pixels);
    for (int y = 0; y < region.h; ++y) {
        const auto* line =
            reinterpret_cast<const std::uint32_t*>(bytes + (region.y + y) * source.pitch) + region.x;
        Pixel* out = &rows[static_cast<std::size_t>(y) * width];
        for (const Tap& tap : across) {
            const Pixel p = Premultiplied(line[tap.source] | opaque);
            for (int c = 0; c < 4; ++c) out[tap.output][c] += tap.weight * p[c];
        }
    }
    std::vector<Pixel> column(static_cast<std::size_t>(height));
    for (int x = 0; x < width; ++x) {
        std::fill(column.begin(), column.end(), Pixel{});
        for (const Tap& tap : down) {
            const Pixel& p = rows[static_cast<std::size_t>(tap.source) * width + x];
            for (int c = 0; c < 4; ++c) column[tap.output][c] += tap.weight * p[c];
        }
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(shrunk->pixels) +
                                                          y * shrunk->pitch);
            line[x] = Straight(column[y], alphaContrast);
        }
    }
    return shrunk;
}
