// Translation of the engine's Quad into SDL drawing: four vertices with their
// ARGB colours and texture coordinates, drawn as two triangles, and the blend
// mode. Most quads the game draws are upright, unflipped, of one colour and cut
// at whole texture pixels; those can also be drawn as a plain rectangle copy,
// which SDL's software renderer does many times faster than triangles. Pure
// functions, no state.
#pragma once

#include <SDL.h>

#include <cstddef>

#include "engine/gk.h"

// Indices of the two triangles (top-left, top-right, bottom-right) and
// (top-left, bottom-right, bottom-left).
extern const int kQuadIndices[6];

// True when every position and texture coordinate is a finite number; a quad
// with an infinite or undefined one is not drawn at all.
bool QuadIsFinite(const Quad& quad);

// The screen quads are drawn on (the game's logical size), and how far around it
// they are drawn: SDL's software renderer works on a pixel buffer as large as a
// triangle's unclipped bounds, and as large as a scaled copy's destination when
// that is partly off screen, so a quad reaching far off screen would cost
// gigabytes. Anything beyond kDrawMargin pixels off screen is cut away.
struct DrawArea {
    float width = 0, height = 0;
};
constexpr float kDrawMargin = 64;
constexpr float kFarTextureCoordinate = 1024;

// Positions, colours (ARGB taken apart into bytes) and texture coordinates; z is
// not used (quads are drawn in the order given). Positions are brought within the
// margin around the area; for an upright quad the texture coordinates follow, so
// that what is visible stays the same (other quads change shape only off screen,
// where their edges are steep). Texture coordinates stay within
// +/- kFarTextureCoordinate.
void QuadToVertices(const Quad& quad, DrawArea area, SDL_Vertex vertices[4]);

// Blend bit 2 set (mode 2, the game's only mode): alpha blending with the vertex
// colour multiplied in. Clear: additive. The other bits have no SDL equivalent
// and are ignored.
SDL_BlendMode BlendModeFor(int blend);

// A quad that is an upright rectangle with one colour: where it lands, the part
// of the texture it shows (whole pixels) and its colour.
struct QuadRect {
    SDL_FRect destination;
    SDL_Rect source;  // unused for an untextured quad
    SDL_Color color;
};

// True when the quad can be drawn as a rectangle: corners in order top-left,
// top-right, bottom-right, bottom-left with a positive width and height, one
// colour on all four, and (textured) texture coordinates that run the same way
// and fall on whole pixels of a texture of textureWidth x textureHeight inside it.
// An untextured destination is cut to the margin around the area; a textured one
// must lie within it (else it is drawn as triangles, cut exactly).
bool QuadAsRect(const Quad& quad, int textureWidth, int textureHeight, DrawArea area, QuadRect* rect);

// Where a scene differs from the one before it, in the game's pixels: the bounds of
// the quads between the longest common start and the longest common end of the two
// lists (the old ones, to be painted over, and the new ones). empty: the scenes are
// the same; a quad there that is not finite makes the bounds infinite.
struct ChangedBounds {
    bool empty = true;
    float left = 0, top = 0, right = 0, bottom = 0;
};
ChangedBounds FindChangedBounds(const Quad* before, std::size_t beforeCount, const Quad* after, std::size_t afterCount);
// True when a quad's corners come within margin pixels of the rectangle.
bool QuadTouches(const Quad& quad, const SDL_Rect& rect, float margin);
