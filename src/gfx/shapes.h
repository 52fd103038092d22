// Untextured shapes of one colour, drawn as engine quads: a quad through four corners,
// a triangle (a quad whose last two corners meet), a filled rectangle, and a frame of
// four bars.
// Owns nothing; draws only.
#pragma once

#include <cstdint>

#include "engine/gk.h"

// Through four corners: top-left, top-right, bottom-right, bottom-left.
void DrawShape(GK& gk, const float (&xs)[4], const float (&ys)[4], std::uint32_t color);
// Through three corners, going round; drawn as the quad (a, b, c, c).
void DrawTriangle(GK& gk, float ax, float ay, float bx, float by, float cx, float cy, std::uint32_t color);
// With its top-left corner at (x, y).
void DrawFilledRect(GK& gk, float x, float y, float w, float h, std::uint32_t color);
// A frame of bars line wide just inside the rectangle: top, bottom, left, right.
void DrawFrame(GK& gk, float x, float y, float w, float h, float line, std::uint32_t color);
