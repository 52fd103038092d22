// gkFont: text drawn from a bitmap font. A description file ("[GKFONT]" header,
// "Bitmap" and "Char" lines) names a glyph image and where each character's glyph
// lies in it. The font owns its glyph sprites and the textures it loaded (at most
// 64 MB of them), and holds one engine reference.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/gk.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"

enum TextAlign { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

class gkFont {
public:
    static constexpr std::size_t PrintfBufferSize = 1024;

    // Loads and parses the description; never fails outright (a bad or missing
    // description gives a font with fewer or no glyphs).
    explicit gkFont(const char* filename);
    ~gkFont();
    gkFont(const gkFont&) = delete;
    gkFont& operator=(const gkFont&) = delete;

    // Draws a zero-terminated byte string, first line's top at y. Only the low two
    // bits of align count; 3 acts as left.
    void Render(float x, float y, int align, const char* text);
    // printf into the font's own buffer (longer output is cut), then Render.
    void Printf(float x, float y, int align, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 5, 6)))
#endif
        ;
    // Width at the current scale (or at the scale given) of the text up to its first line feed.
    float GetStringWidth(const char* text) const {
        return GetStringWidth(text, scale);
    }
    float GetStringWidth(const char* text, float atScale) const;
    void SetColor(std::uint32_t color);
    void SetScale(float newScale) {
        scale = newScale;
    }
    float GetScale() const {
        return scale;
    }
    float GetHeight() const {
        return height;
    }

    // Read-only views for tests and tools.
    const gkSprite* Glyph(unsigned char c) const {
        return glyphs[c].get();
    }
    float PreOffset(unsigned char c) const {
        return preOffset[c];
    }
    float PostOffset(unsigned char c) const {
        return postOffset[c];
    }
    HTEXTURE Texture() const {
        return texture;
    }

private:
    void Parse(const char* filename, std::string_view text);
    // A "Bitmap" line; false when the engine cannot load the image, or when it would take
    // the font's images past 64 MB (logged); reading stops there.
    bool LoadBitmap(const char* filename, std::string_view line);
    void AddGlyph(std::string_view line);
    // The table index that draws c: c itself, else "?", else -1 (nothing drawn, no room taken).
    int GlyphIndex(unsigned char c) const;
    float LineStartX(float x, int align, const char* line) const;

    gkEngineRef gk;
    char buffer[PrintfBufferSize] = {};
    HTEXTURE texture = 0;
    std::vector<HTEXTURE> olderTextures;  // replaced by a later "Bitmap" line; freed at destruction
    std::uint64_t textureBytes = 0;       // the images held, at 4 bytes a pixel
    std::array<std::unique_ptr<gkSprite>, 256> glyphs;
    std::array<float, 256> preOffset{};
    std::array<float, 256> postOffset{};
    float height = 0.0f;
    float scale = 1.0f;
    float rotation = 0.0f;
    float tracking = 0.0f;
    float lineSpacing = 1.0f;
    std::uint32_t color = Untinted;  // the colour every glyph has (as new sprites have)
};
