// Text drawn in a style: one call puts the font at the style's scale and colour,
// draws the text (lines split at line feeds, each aligned on x) and gives the font
// its scale of 1 back, so every other drawing finds the font at its own size. The
// colour stays set to the style's. Also the size a text takes in a style, for
// callers that place it first. Owns nothing.
#pragma once

#include <cstdint>

#include "gfx/font.h"

struct TextStyle {
    float scale = 1.0f;
    std::uint32_t color = 0;
};

// The font is left at scale 1 with the style's colour.
void DrawText(gkFont& font, float x, float y, int align, const TextStyle& style, const char* text);
// The width of the text up to its first line feed, and the height of one line, in the style.
float TextWidth(const gkFont& font, const TextStyle& style, const char* text);
float TextLineHeight(const gkFont& font, const TextStyle& style);
