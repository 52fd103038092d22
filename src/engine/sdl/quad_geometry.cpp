#include "engine/sdl/quad_geometry.h"

#include <algorithm>
#include <cmath>

const int kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

namespace {

SDL_Color ColorFromArgb(std::uint32_t argb) {
    SDL_Color color;
    color.a = static_cast<Uint8>(argb >> 24);
    color.r = static_cast<Uint8>(argb >> 16);
    color.g = static_cast<Uint8>(argb >> 8);
    color.b = static_cast<Uint8>(argb);
    return color;
}

// A texture coordinate in pixels when it falls on a whole pixel (within a
// thousandth, for float rounding) of a texture no larger than an int holds; -1
// otherwise (also for coordinates far outside any texture).
int WholePixel(float coordinate, int size) {
    const double pixels = static_cast<double>(coordinate) * size;
    if (!(std::fabs(pixels) <= kFarCoordinate)) return -1;  // also NaN
    const double nearest = std::floor(pixels + 0.5);
    if (std::fabs(pixels - nearest) > 1e-3) return -1;
    return static_cast<int>(nearest);
}

float Near(float value, float limit) {
    return std::clamp(value, -limit, limit);
}

}  // namespace

bool QuadIsFinite(const Quad& quad) {
    for (const Vertex& v : quad.v) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.tx) || !std::isfinite(v.ty)) return false;
    }
    return true;
}

void QuadToVertices(const Quad& quad, float width, float height, SDL_Vertex vertices[4]) {
    for (int i = 0; i < 4; ++i) {
        const Vertex& from = quad.v[i];
        vertices[i].position = SDL_FPoint{std::clamp(from.x, -kTriangleMargin, width + kTriangleMargin),
                                          std::clamp(from.y, -kTriangleMargin, height + kTriangleMargin)};
        vertices[i].color = ColorFromArgb(from.col);
        vertices[i].tex_coord = SDL_FPoint{Near(from.tx, kFarTextureCoordinate), Near(from.ty, kFarTextureCoordinate)};
    }
}

SDL_BlendMode BlendModeFor(int blend) {
    return (blend & 2) != 0 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD;
}

bool QuadAsRect(const Quad& quad, int textureWidth, int textureHeight, QuadRect* rect) {
    const Vertex* v = quad.v;
    const bool upright = v[0].y == v[1].y && v[1].x == v[2].x && v[2].y == v[3].y && v[3].x == v[0].x &&
                         v[1].x > v[0].x && v[3].y > v[0].y;
    const bool oneColor = v[0].col == v[1].col && v[0].col == v[2].col && v[0].col == v[3].col;
    if (!upright || !oneColor) return false;
    const float x1 = Near(v[0].x, kFarCoordinate), y1 = Near(v[0].y, kFarCoordinate);
    const float x2 = Near(v[1].x, kFarCoordinate), y2 = Near(v[3].y, kFarCoordinate);
    if (x2 <= x1 || y2 <= y1) return false;  // entirely beyond one side
    rect->destination = SDL_FRect{x1, y1, x2 - x1, y2 - y1};
    rect->color = ColorFromArgb(v[0].col);
    rect->source = SDL_Rect{0, 0, 0, 0};
    if (quad.tex == 0) return true;
    const bool aligned = v[0].ty == v[1].ty && v[1].tx == v[2].tx && v[2].ty == v[3].ty && v[3].tx == v[0].tx;
    if (!aligned || textureWidth <= 0 || textureHeight <= 0) return false;
    const int left = WholePixel(v[0].tx, textureWidth);
    const int right = WholePixel(v[1].tx, textureWidth);
    const int top = WholePixel(v[0].ty, textureHeight);
    const int bottom = WholePixel(v[3].ty, textureHeight);
    const bool inside = left >= 0 && top >= 0 && right <= textureWidth && bottom <= textureHeight;
    if (!inside || right <= left || bottom <= top) return false;  // also -1: not on whole pixels
    rect->source = SDL_Rect{left, top, right - left, bottom - top};
    return true;
}
