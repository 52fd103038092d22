#include "gfx/text.h"

void DrawText(gkFont& font, float x, float y, int align, const TextStyle& style, const char* text) {
    font.SetScale(style.scale);
    font.SetColor(style.color);
    font.Render(x, y, align, text);
    font.SetScale(1.0f);
}

float TextWidth(const gkFont& font, const TextStyle& style, const char* text) {
    return font.GetStringWidth(text, style.scale);
}

float TextLineHeight(const gkFont& font, const TextStyle& style) {
    return font.GetHeight() * style.scale;
}
