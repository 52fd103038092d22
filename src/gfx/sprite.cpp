// gkSprite: the quad is prepared once; each draw writes the four corners and hands it over.
#include "gfx/sprite.h"

#include <cmath>

#include "gfx/palette.h"

gkSprite::gkSprite(HTEXTURE texture, float x, float y, float w, float h)
    : texX(x), texY(y), width(w), height(h) {
    if (texture != 0 && gk) {
        // A size the engine cannot give (0 for an unknown texture) counts as 1, so that the
        // texture coordinates stay finite.
        const int pixelsWide = gk->Texture_GetWidth(texture, false);
        const int pixelsHigh = gk->Texture_GetHeight(texture, false);
        texWidth = pixelsWide > 0 ? static_cast<float>(pixelsWide) : 1.0f;
        texHeight = pixelsHigh > 0 ? static_cast<float>(pixelsHigh) : 1.0f;
    }
    quad.tex = texture;
    quad.blend = GK_BLEND_DEFAULT;
    const float left = texX / texWidth, right = (texX + width) / texWidth;
    const float top = texY / texHeight, bottom = (texY + height) / texHeight;
    const float tx[4] = {left, right, right, left};
    const float ty[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        quad.v[i].z = 0.5f;
        quad.v[i].col = Untinted;
        quad.v[i].tx = tx[i];
        quad.v[i].ty = ty[i];
    }
}

void gkSprite::Render(float x, float y) {
    const float left = x - hotX, top = y - hotY;
    const float right = x + width - hotX, bottom = y + height - hotY;
    SetCorners(left, top, right, top, right, bottom, left, bottom);
    Draw();
}

void gkSprite::RenderTransformed(float x, float y, float rotation, float hscale, float vscale) {
    if (vscale == 0.0f) vscale = hscale;
    const float x1 = -hotX * hscale, y1 = -hotY * vscale;
    const float x2 = (width - hotX) * hscale, y2 = (height - hotY) * vscale;
    if (rotation != 0.0f) {
        const float cosR = std::cos(rotation), sinR = std::sin(rotation);
        const auto turnedX = [&](float cx, float cy) { return cx * cosR - cy * sinR + x; };
        const auto turnedY = [&](float cx, float cy) { return cx * sinR + cy * cosR + y; };
        SetCorners(turnedX(x1, y1), turnedY(x1, y1), turnedX(x2, y1), turnedY(x2, y1), turnedX(x2, y2),
                   turnedY(x2, y2), turnedX(x1, y2), turnedY(x1, y2));
    } else {
        SetCorners(x1 + x, y1 + y, x2 + x, y1 + y, x2 + x, y2 + y, x1 + x, y2 + y);
    }
    Draw();
}

void gkSprite::SetColor(std::uint32_t color, int vertex) {
    if (vertex == -1) {
        for (Vertex& corner : quad.v) corner.col = color;
    } else if (vertex >= 0 && vertex <= 3) {
        quad.v[vertex].col = color;
    }
}

void gkSprite::SetBlendMode(int mode) {
    quad.blend = mode;
}

void gkSprite::SetCorners(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    quad.v[0].x = x0;
    quad.v[0].y = y0;
    quad.v[1].x = x1;
    quad.v[1].y = y1;
    quad.v[2].x = x2;
    quad.v[2].y = y2;
    quad.v[3].x = x3;
    quad.v[3].y = y3;
}

void gkSprite::Draw() {
    if (gk) gk->Gfx_RenderQuad(&quad);
}
