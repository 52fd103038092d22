// gkSprite: a rectangle cut out of a texture, drawn as one textured,
// vertex-coloured quad. Texture coordinates, colours and depth are computed once
// at construction; a draw only rewrites the four screen positions. The sprite
// does not own its texture; it holds one engine reference.
#pragma once

#include <cstdint>

#include "engine/gk.h"

class gkSprite {
public:
    // x, y, w, h: the source rectangle in texture pixels. Texture 0 draws untextured.
    gkSprite(HTEXTURE texture, float x, float y, float w, float h);
    ~gkSprite() = default;
    gkSprite(const gkSprite&) = delete;
    gkSprite& operator=(const gkSprite&) = delete;

    // Draws unscaled and unrotated with the hot spot at (x, y).
    void Render(float x, float y);
    // Rotated (radians, +x towards +y) and scaled about the hot spot; vscale 0 means hscale.
    void RenderTransformed(float x, float y, float rotation, float hscale, float vscale = 0.0f);
    // vertex -1: all four corners; 0..3: top-left, top-right, bottom-right, bottom-left.
    // Any other vertex index does nothing.
    void SetColor(std::uint32_t color, int vertex = -1);
    void SetBlendMode(int mode);
    // Draws from another texture of the same size from now on (a theme's image).
    void SetTexture(HTEXTURE texture) { quad.tex = texture; }

    float GetWidth() const { return width; }
    float GetHeight() const { return height; }
    const Quad& GetQuad() const { return quad; }

private:
    // Corners in the order top-left, top-right, bottom-right, bottom-left.
    void SetCorners(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);
    void Draw();

    gkEngineRef gk;
    Quad quad{};
    float texX, texY, width, height;
    float texWidth = 1.0f, texHeight = 1.0f;
    float hotX = 0.0f, hotY = 0.0f;
};
