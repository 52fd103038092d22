#include "engine/sdl/frame/quad_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

const int kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

namespace {

// Texture coordinates in pixels beyond this are not whole pixels of any texture.
constexpr double kLargestPixel = 1 << 24;

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
    if (!(std::fabs(pixels) <= kLargestPixel)) return -1;  // also NaN
    const double nearest = std::floor(pixels + 0.5);
    if (std::fabs(pixels - nearest) > 1e-3) return -1;
    return static_cast<int>(nearest);
}

float Near(float value, float limit) {
    return std::clamp(value, -limit, limit);
}

bool IsUpright(const Vertex* v) {
    return v[0].y == v[1].y && v[1].x == v[2].x && v[2].y == v[3].y && v[3].x == v[0].x && v[1].x > v[0].x &&
           v[3].y > v[0].y;
}

// The drawn area with its margin.
struct Bounds {
    float left, top, right, bottom;
};
Bounds MarginAround(DrawArea area) {
    return Bounds{-kDrawMargin, -kDrawMargin, area.width + kDrawMargin, area.height + kDrawMargin};
}

double Lerp(double from, double to, double t) {
    return from + (to - from) * t;
}

// The texture coordinates at (x, y) inside an upright quad, interpolated between its
// corners (in double: a quad's width may pass the float range).
SDL_FPoint TextureAt(const Vertex* v, double x, double y) {
    const double across = (x - v[0].x) / (static_cast<double>(v[1].x) - v[0].x);
    const double down = (y - v[0].y) / (static_cast<double>(v[3].y) - v[0].y);
    const double u = Lerp(Lerp(v[0].tx, v[1].tx, across), Lerp(v[3].tx, v[2].tx, across), down);
    const double w = Lerp(Lerp(v[0].ty, v[1].ty, across), Lerp(v[3].ty, v[2].ty, across), down);
    return SDL_FPoint{static_cast<float>(u), static_cast<float>(w)};
}

}  // namespace

bool QuadIsFinite(const Quad& quad) {
    for (const Vertex& v : quad.v) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.tx) || !std::isfinite(v.ty)) return false;
    }
    return true;
}

void QuadToVertices(const Quad& quad, DrawArea area, SDL_Vertex vertices[4]) {
    const Bounds bounds = MarginAround(area);
    const bool upright = IsUpright(quad.v);
    for (int i = 0; i < 4; ++i) {
        const Vertex& from = quad.v[i];
        const float x = std::clamp(from.x, bounds.left, bounds.right);
        const float y = std::clamp(from.y, bounds.top, bounds.bottom);
        const bool moved = x != from.x || y != from.y;
        const SDL_FPoint texture = upright && moved ? TextureAt(quad.v, x, y) : SDL_FPoint{from.tx, from.ty};
        vertices[i].position = SDL_FPoint{x, y};
        vertices[i].color = ColorFromArgb(from.col);
        vertices[i].tex_coord =
            SDL_FPoint{Near(texture.x, kFarTextureCoordinate), Near(texture.y, kFarTextureCoordinate)};
    }
}

SDL_BlendMode BlendModeFor(int blend) {
    return (blend & 2) != 0 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD;
}

bool QuadAsRect(const Quad& quad, int textureWidth, int textureHeight, DrawArea area, QuadRect* rect) {
    const Vertex* v = quad.v;
    const bool oneColor = v[0].col == v[1].col && v[0].col == v[2].col && v[0].col == v[3].col;
    if (!IsUpright(v) || !oneColor) return false;
    const Bounds bounds = MarginAround(area);
    const bool within = v[0].x >= bounds.left && v[0].y >= bounds.top && v[1].x <= bounds.right &&
                        v[3].y <= bounds.bottom;
    rect->color = ColorFromArgb(v[0].col);
    rect->source = SDL_Rect{0, 0, 0, 0};
    if (quad.tex == 0) {
        const float x1 = std::max(v[0].x, bounds.left), y1 = std::max(v[0].y, bounds.top);
        const float x2 = std::min(v[1].x, bounds.right), y2 = std::min(v[3].y, bounds.bottom);
        if (x2 <= x1 || y2 <= y1) return false;  // wholly beyond the margin: drawn as nothing
        rect->destination = SDL_FRect{x1, y1, x2 - x1, y2 - y1};
        return true;
    }
    if (!within) return false;
    rect->destination = SDL_FRect{v[0].x, v[0].y, v[1].x - v[0].x, v[3].y - v[0].y};
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

namespace {

bool SameQuad(const Quad& a, const Quad& b) {
    return std::memcmp(&a, &b, sizeof(Quad)) == 0;
}

void AddQuadBounds(const Quad& quad, ChangedBounds& bounds) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (bounds.empty) {
        bounds = ChangedBounds{false, kInfinity, kInfinity, -kInfinity, -kInfinity};
    }
    if (!QuadIsFinite(quad)) {
        bounds = ChangedBounds{false, -kInfinity, -kInfinity, kInfinity, kInfinity};
        return;
    }
    for (const Vertex& v : quad.v) {
        bounds.left = std::min(bounds.left, v.x);
        bounds.top = std::min(bounds.top, v.y);
        bounds.right = std::max(bounds.right, v.x);
        bounds.bottom = std::max(bounds.bottom, v.y);
    }
}

}  // namespace

ChangedBounds FindChangedBounds(const Quad* before, std::size_t beforeCount, const Quad* after, std::size_t afterCount) {
    std::size_t start = 0;
    while (start < beforeCount && start < afterCount && SameQuad(before[start], after[start])) ++start;
    std::size_t end = 0;  // quads the two lists have in common at their ends
    while (end < beforeCount - start && end < afterCount - start &&
           SameQuad(before[beforeCount - 1 - end], after[afterCount - 1 - end]))
        ++end;
    ChangedBounds bounds;
    for (std::size_t i = start; i < beforeCount - end; ++i) AddQuadBounds(before[i], bounds);
    for (std::size_t i = start; i < afterCount - end; ++i) AddQuadBounds(after[i], bounds);
    return bounds;
}

bool QuadTouches(const Quad& quad, const SDL_Rect& rect, float margin) {
    float left = quad.v[0].x, top = quad.v[0].y, right = left, bottom = top;
    for (const Vertex& v : quad.v) {
        left = std::min(left, v.x);
        top = std::min(top, v.y);
        right = std::max(right, v.x);
        bottom = std::max(bottom, v.y);
    }
    return left - margin < static_cast<float>(rect.x + rect.w) && right + margin > static_cast<float>(rect.x) &&
           top - margin < static_cast<float>(rect.y + rect.h) && bottom + margin > static_cast<float>(rect.y);
}
