#include "gfx/shapes.h"

void DrawShape(GK& gk, const float (&xs)[4], const float (&ys)[4], std::uint32_t color) {
    Quad quad{};
    quad.tex = 0;
    quad.blend = GK_BLEND_DEFAULT;
    for (int i = 0; i < 4; ++i) {
        quad.v[i].x = xs[i];
        quad.v[i].y = ys[i];
        quad.v[i].z = 0.5f;
        quad.v[i].col = color;
    }
    gk.Gfx_RenderQuad(&quad);
}

void DrawTriangle(GK& gk, float ax, float ay, float bx, float by, float cx, float cy, std::uint32_t color) {
    DrawShape(gk, {ax, bx, cx, cx}, {ay, by, cy, cy}, color);
}

void DrawFilledRect(GK& gk, float x, float y, float w, float h, std::uint32_t color) {
    DrawShape(gk, {x, x + w, x + w, x}, {y, y, y + h, y + h}, color);
}

void DrawFrame(GK& gk, float x, float y, float w, float h, float line, std::uint32_t color) {
    DrawFilledRect(gk, x, y, w, line, color);
    DrawFilledRect(gk, x, y + h - line, w, line, color);
    DrawFilledRect(gk, x, y + line, line, h - 2 * line, color);
    DrawFilledRect(gk, x + w - line, y + line, line, h - 2 * line, color);
}
