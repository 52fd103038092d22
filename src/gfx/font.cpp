// gkFont: the description parser, width measurement and aligned, multi-line drawing.
#include "gfx/font.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view FontHeader = "[GKFONT]";
constexpr unsigned char SubstituteChar = '?';
// The glyph images one font may hold, counted at 4 bytes a pixel.
constexpr std::uint64_t MaxTextureBytes = 64ull * 1024 * 1024;
// Glyph rectangles and offsets are cut to this range: far beyond any glyph image
// (the engine holds at most 4096 pixels a side) and any screen, and far inside the
// range in which the engine turns positions into whole pixels.
constexpr int MaxGlyphValue = 65536;

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}
bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Splits description text into lines: a line ends at a line feed, a carriage return or the end;
// runs of line ends between lines are skipped, so empty lines vanish (except a leading one,
// which makes the first line empty).
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::string_view First() { return TakeLine(); }

    bool Next(std::string_view& line) {
        while (pos_ < text_.size() && IsLineEnd(text_[pos_])) ++pos_;
        if (pos_ >= text_.size()) return false;
        line = TakeLine();
        return true;
    }

private:
    std::string_view TakeLine() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsLineEnd(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// Reads the pieces of one line the way scanf patterns do: blanks skipped where the pattern has
// a blank, literal characters matched, decimal integers with an optional sign.
class LineScanner {
public:
    explicit LineScanner(std::string_view text) : text_(text) {}

    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    bool Expect(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    // A decimal integer, clamped to the int range when it has too many digits.
    bool Integer(int& value) {
        SkipBlanks();
        std::size_t p = pos_;
        bool negative = false;
        if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) negative = text_[p++] == '-';
        const std::size_t digitsStart = p;
        long long magnitude = 0;
        while (p < text_.size() && std::isdigit(static_cast<unsigned char>(text_[p]))) {
            if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (text_[p] - '0');
            ++p;
        }
        if (p == digitsStart) return false;
        pos_ = p;
        const long long signedValue = negative ? -magnitude : magnitude;
        value = static_cast<int>(signedValue < INT_MIN   ? INT_MIN
                                 : signedValue > INT_MAX ? INT_MAX
                                                         : signedValue);
        return true;
    }
    // A run of non-blank characters; empty when there is none.
    std::string_view Word() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool StartsWith(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "Bitmap = %s": the word after the equals sign, or empty when there is none.
std::string_view BitmapWord(std::string_view line) {
    LineScanner scan(line.substr(std::string_view("Bitmap").size()));
    scan.SkipBlanks();
    if (!scan.Expect('=')) return {};
    scan.SkipBlanks();
    return scan.Word();
}

// The description's folder (up to its last backslash, else its last slash) with the word appended.
std::string GlyphImagePath(const char* descriptionName, std::string_view word) {
    const std::string_view name(descriptionName);
    std::size_t cut = name.rfind('\\');
    if (cut == std::string_view::npos) cut = name.rfind('/');
    std::string path(cut == std::string_view::npos ? std::string_view() : name.substr(0, cut + 1));
    path.append(word);
    return path;
}

struct CharLine {
    unsigned char character = 0;
    int values[6] = {};  // x, y, w, h, pre-offset, post-offset; those not given stay 0
};

// One "Char" line; false when it has no equals sign, a code above 255, or a quote with nothing after it.
bool ParseCharLine(std::string_view line, CharLine& out) {
    std::size_t pos = line.find('=');
    if (pos == std::string_view::npos) return false;
    ++pos;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] == '"') {
        if (pos + 1 >= line.size()) return false;
        out.character = static_cast<unsigned char>(line[pos + 1]);
        pos = std::min(pos + 3, line.size());  // quote, character, closing byte (not checked)
    } else {
        int code = 0;
        for (; pos < line.size() && HexDigitValue(line[pos]) >= 0; ++pos) {
            code = code * 16 + HexDigitValue(line[pos]);
            if (code > 255) return false;
        }
        out.character = static_cast<unsigned char>(code);
    }
    // " , %d , %d , %d , %d , %d , %d"
    LineScanner scan(line.substr(pos));
    for (int& value : out.values) {
        scan.SkipBlanks();
        if (!scan.Expect(',') || !scan.Integer(value)) break;
        value = std::clamp(value, -MaxGlyphValue, MaxGlyphValue);
    }
    return true;
}

}  // namespace

gkFont::gkFont(const char* filename) {
    if (!gk || filename == nullptr) return;
    std::uint32_t size = 0;
    void* block = gk->Resource_Load(filename, &size);
    if (block == nullptr) return;
    // Own copy of the description; the text ends at the first zero byte, if any.
    const char* bytes = static_cast<const char*>(block);
    const std::string text(bytes, std::find(bytes, bytes + size, '\0'));
    gk->Resource_Free(block);
    Parse(filename, text);
}

gkFont::~gkFont() {
    for (auto& glyph : glyphs) glyph.reset();
    if (!gk) return;
    for (HTEXTURE older : olderTextures) gk->Texture_Free(older);
    if (texture != 0) gk->Texture_Free(texture);
}

void gkFont::Parse(const char* filename, std::string_view text) {
    LineReader lines(text);
    if (lines.First() != FontHeader) {
        gk->System_Log("Font %s has incorrect format.", filename);
        return;
    }
    std::string_view line;
    while (lines.Next(line)) {
        if (StartsWith(line, "Bitmap")) {
            if (!LoadBitmap(filename, line)) return;
        } else if (StartsWith(line, "Char")) {
            AddGlyph(line);
        }
    }
}

bool gkFont::LoadBitmap(const char* filename, std::string_view line) {
    const std::string_view word = BitmapWord(line);
    if (word.empty()) return true;
    const std::string path = GlyphImagePath(filename, word);
    const HTEXTURE loaded = gk->Texture_Load(path.c_str(), 0, false);
    if (loaded == 0) return false;
    const int wide = gk->Texture_GetWidth(loaded, false), high = gk->Texture_GetHeight(loaded, false);
    const std::uint64_t bytes = 4ull * static_cast<std::uint64_t>(std::max(wide, 0)) *
                                static_cast<std::uint64_t>(std::max(high, 0));
    if (bytes > MaxTextureBytes - textureBytes) {
        gk->Texture_Free(loaded);
        gk->System_Log("Font %s: glyph image %s refused: the font's images would take more than 64 MB.", filename,
                       path.c_str());
        return false;
    }
    textureBytes += bytes;
    // Glyphs made earlier keep drawing from the texture they were made with.
    if (texture != 0) olderTextures.push_back(texture);
    texture = loaded;
    return true;
}

void gkFont::AddGlyph(std::string_view line) {
    CharLine parsed;
    if (!ParseCharLine(line, parsed)) return;
    const int* v = parsed.values;
    const unsigned char c = parsed.character;
    glyphs[c] = std::make_unique<gkSprite>(texture, static_cast<float>(v[0]), static_cast<float>(v[1]),
                                           static_cast<float>(v[2]), static_cast<float>(v[3]));
    preOffset[c] = static_cast<float>(v[4]);
    postOffset[c] = static_cast<float>(v[5]);
    if (static_cast<float>(v[3]) > height) height = static_cast<float>(v[3]);
}

int gkFont::GlyphIndex(unsigned char c) const {
    if (glyphs[c]) return c;
    if (glyphs[SubstituteChar]) return SubstituteChar;
    return -1;
}

float gkFont::GetStringWidth(const char* text, float atScale) const {
    if (text == nullptr) return 0.0f;
    float sum = 0.0f;
    for (const char* p = text; *p != '\0' && *p != '\n'; ++p) {
        const int g = GlyphIndex(static_cast<unsigned char>(*p));
        if (g < 0) continue;
        sum += postOffset[g] + preOffset[g] + tracking + glyphs[g]->GetWidth();
    }
    return sum * atScale;
}

float gkFont::LineStartX(float x, int align, const char* line) const {
    switch (align & 3) {
        case AlignRight:
            return x - GetStringWidth(line);
        case AlignCenter:
            return x - std::nearbyint(GetStringWidth(line) / 2.0f);  // halves to even
        default:
            return x;
    }
}

void gkFont::Render(float x, float y, int align, const char* text) {
    if (text == nullptr) return;
    float penX = LineStartX(x, align, text);
    float penY = y;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n') {
            penY += std::nearbyint(lineSpacing * scale * height);
            penX = LineStartX(x, align, p + 1);
            continue;
        }
        const int g = GlyphIndex(static_cast<unsigned char>(*p));
        if (g < 0) continue;
        const float glyphX = penX + preOffset[g] * scale;
        glyphs[g]->RenderTransformed(glyphX, penY, rotation, scale, 0.0f);
        penX = glyphX + (postOffset[g] + tracking + glyphs[g]->GetWidth()) * scale;
    }
}

void gkFont::Printf(float x, float y, int align, const char* format, ...) {
    if (format == nullptr) return;
    va_list args;
    va_start(args, format);
    // vsnprintf cuts longer output at the buffer's end and always terminates it.
    if (std::vsnprintf(buffer, sizeof buffer, format, args) < 0) buffer[0] = '\0';
    va_end(args);
    Render(x, y, align, buffer);
}

void gkFont::SetColor(std::uint32_t newColor) {
    // Every cell and label sets the colour before it draws; most calls repeat the last one.
    if (newColor == color) return;
    color = newColor;
    for (auto& glyph : glyphs) {
        if (glyph) glyph->SetColor(color, -1);
    }
}
