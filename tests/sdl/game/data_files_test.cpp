// Checks the game's data files the way the game uses them: each file is present and
// decodes, images have the sizes the sprites are cut to, the font description covers
// printable ASCII with glyphs that fit a board cell, the notes font covers the sixteen
// values with glyphs that fit a note's slot, the compiled-in window icon matches the
// icon images, and the 2x and 4x companions have their images' sizes times two and
// four, the fonts' with every glyph in its rectangle scaled. Runs in the build folder,
// where the build copies data/.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/sdl/icon_pixels.inc"

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Loads an image and converts it to RGBA bytes in memory order, so pixels can be read.
SurfacePtr LoadRgba(const std::string& name) {
    SurfacePtr loaded(IMG_Load(name.c_str()));
    if (!loaded) return nullptr;
    return SurfacePtr(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0));
}

std::array<std::uint8_t, 4> PixelAt(const SDL_Surface& surface, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(surface.pixels) + y * surface.pitch;
    return {row[x * 4], row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]};
}

std::optional<std::string> ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// --- images -------------------------------------------------------------------

// A theme's image beside the classic one: select@2x.bmp -> select-dark@2x.bmp.
std::string ThemedName(const std::string& name, const std::string& theme) {
    return std::string(name).insert(name.find_first_of("@."), theme);
}

struct ImageSize {
    const char* name;
    int width;
    int height;
};

TEST(DataFiles, ImagesHaveTheSizesTheirSpritesAreCutTo) {
    const ImageSize kImages[] = {{"bgp.jpg", 800, 700},  {"cursor.png", 32, 32},  {"unselect.bmp", 30, 30},
                                 {"select.bmp", 30, 30}, {"circle2.png", 30, 30}, {"icon32.png", 32, 32},
                                 {"icon16.png", 16, 16}};
    for (const ImageSize& image : kImages) {
        // The themes' images (all but the icon) take the classic ones' place under the same sprites.
        for (const std::string theme : {"", "-dark", "-high-contrast"}) {
            const std::string name = ThemedName(image.name, theme);
            if (!theme.empty() && name.rfind("icon", 0) == 0) continue;
            SurfacePtr surface(IMG_Load(name.c_str()));
            ASSERT_TRUE(surface) << name << ": " << IMG_GetError();
            EXPECT_EQ(surface->w, image.width) << name;
            EXPECT_EQ(surface->h, image.height) << name;
        }
    }
}

TEST(DataFiles, CompanionsAreTheirImagesAtTwiceAndFourTimesTheSize) {
    const char* const kPictures[][3] = {{"cursor.png", "cursor@2x.png", "cursor@4x.png"},
                                        {"circle2.png", "circle2@2x.png", "circle2@4x.png"},
                                        {"select.bmp", "select@2x.bmp", "select@4x.bmp"},
                                        {"unselect.bmp", "unselect@2x.bmp", "unselect@4x.bmp"},
                                        {"bgp.jpg", "bgp@2x.jpg", nullptr},
                                        {"icon32.png", "icon64.png", "icon128.png"}};
    for (const auto& names : kPictures) {
        for (const std::string theme : {"", "-dark", "-high-contrast"}) {
            if (!theme.empty() && std::string(names[0]).rfind("icon", 0) == 0) continue;
            SurfacePtr image = LoadRgba(ThemedName(names[0], theme));
            ASSERT_TRUE(image) << names[0] << theme;
            for (int i = 1; i <= 2 && names[i] != nullptr; ++i) {
                const int factor = 2 * i;
                const std::string name = ThemedName(names[i], theme);
                SurfacePtr companion = LoadRgba(name);
                ASSERT_TRUE(companion) << name << ": " << IMG_GetError();
                EXPECT_EQ(companion->w, image->w * factor) << name;
                EXPECT_EQ(companion->h, image->h * factor) << name;
            }
        }
    }
}

TEST(DataFiles, CursorAndButtonAreTransparentAroundTheirShapes) {
    SurfacePtr cursor = LoadRgba("cursor.png");
    ASSERT_TRUE(cursor);
    // The sprite's hot spot is its top-left corner, so the arrow's tip must be there.
    EXPECT_GT(PixelAt(*cursor, 0, 0)[3], 64);
    EXPECT_EQ(PixelAt(*cursor, 1, 4)[3], 255);
    EXPECT_EQ(PixelAt(*cursor, 31, 0)[3], 0);
    EXPECT_EQ(PixelAt(*cursor, 31, 31)[3], 0);

    SurfacePtr circle = LoadRgba("circle2.png");
    ASSERT_TRUE(circle);
    const std::pair<int, int> kOutside[] = {{0, 0}, {29, 0}, {0, 29}, {29, 29}, {3, 3}, {26, 26}};
    for (auto [x, y] : kOutside) {
        EXPECT_EQ(PixelAt(*circle, x, y)[3], 0) << x << "," << y;
    }
    const auto centre = PixelAt(*circle, 15, 15);
    EXPECT_EQ(centre[3], 255);
    EXPECT_GE(std::min({centre[0], centre[1], centre[2]}), 200) << "labels are black and red on it";
}

TEST(DataFiles, SelectedCellFaceDiffersClearlyFromThePlainOne) {
    SurfacePtr plain = LoadRgba("unselect.bmp");
    SurfacePtr selected = LoadRgba("select.bmp");
    ASSERT_TRUE(plain);
    ASSERT_TRUE(selected);
    const auto a = PixelAt(*plain, 15, 15);
    const auto b = PixelAt(*selected, 15, 15);
    const int difference = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
    EXPECT_GE(difference, 60);
    // Both stay light, so black, blue and red values read on either.
    for (const auto& face : {a, b}) EXPECT_GE(face[0] + face[1] + face[2], 3 * 170);
}

// --- sound --------------------------------------------------------------------

TEST(DataFiles, MenuSoundLoadsAsAShortClickWithoutASoundCard) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024), 0) << Mix_GetError();
    Mix_Chunk* chunk = Mix_LoadWAV("menu.wav");
    EXPECT_NE(chunk, nullptr) << Mix_GetError();
    if (chunk) Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);

    // The menu plays it at every focus change, so it must be over quickly.
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV("menu.wav", &format, &samples, &length), nullptr) << SDL_GetError();
    const double seconds =
        double(length) / (format.freq * format.channels * (SDL_AUDIO_BITSIZE(format.format) / 8));
    SDL_FreeWAV(samples);
    EXPECT_GT(seconds, 0.01);
    EXPECT_LT(seconds, 0.2);
}

// --- font ---------------------------------------------------------------------

struct GlyphLine {
    int x = 0, y = 0, w = 0, h = 0, pre = 0, post = 0;
};

struct FontDescription {
    std::string firstLine;
    std::string bitmap;
    std::array<std::optional<GlyphLine>, 256> glyphs;
    bool lastLineIsChar = false;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

// Reads "Char=<hex or quoted char>,x,y,w,h,pre,post"; nullopt when the line is malformed.
std::optional<std::pair<int, GlyphLine>> ParseCharLine(const std::string& line) {
    std::size_t at = line.find('=');
    if (at == std::string::npos) return std::nullopt;
    ++at;
    while (at < line.size() && line[at] == ' ') ++at;
    int code = 0;
    if (at < line.size() && line[at] == '"') {
        if (at + 2 >= line.size()) return std::nullopt;
        code = static_cast<unsigned char>(line[at + 1]);
        at += 3;
    } else {
        std::size_t end = at;
        while (end < line.size() && std::isxdigit(static_cast<unsigned char>(line[end]))) ++end;
        if (end == at || end - at > 2) return std::nullopt;
        code = std::stoi(line.substr(at, end - at), nullptr, 16);
        at = end;
    }
    GlyphLine glyph;
    char comma[6];
    std::istringstream rest(line.substr(at));
    rest >> comma[0] >> glyph.x >> comma[1] >> glyph.y >> comma[2] >> glyph.w >> comma[3] >> glyph.h >>
        comma[4] >> glyph.pre >> comma[5] >> glyph.post;
    if (!rest || std::any_of(std::begin(comma), std::end(comma), [](char c) { return c != ','; })) {
        return std::nullopt;
    }
    return std::pair{code, glyph};
}

FontDescription ParseFont(const std::string& text) {
    FontDescription font;
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) return font;
    font.firstLine = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("Bitmap", 0) == 0) {
            std::istringstream words(line.substr(line.find('=') + 1));
            words >> font.bitmap;
        } else if (line.rfind("Char", 0) == 0) {
            auto parsed = ParseCharLine(line);
            EXPECT_TRUE(parsed) << "malformed line: " << line;
            if (parsed) font.glyphs[parsed->first] = parsed->second;
        }
    }
    font.lastLineIsChar = lines.size() > 1 && lines.back().rfind("Char", 0) == 0;
    return font;
}

class FontFile : public ::testing::Test {
protected:
    virtual const char* FileName() const { return "font1.fnt"; }

    void SetUp() override {
        std::optional<std::string> text = ReadFile(FileName());
        ASSERT_TRUE(text) << FileName() << " missing";
        font_ = ParseFont(*text);
        ASSERT_FALSE(font_.bitmap.empty()) << "no Bitmap line";
        image_ = LoadRgba(font_.bitmap);
        ASSERT_TRUE(image_) << font_.bitmap << ": " << IMG_GetError();
    }

    int LineHeight() const {
        int height = 0;
        for (const auto& glyph : font_.glyphs) {
            if (glyph) height = std::max(height, glyph->h);
        }
        return height;
    }

    bool HasInk(const GlyphLine& glyph) const {
        for (int y = glyph.y; y < glyph.y + glyph.h; ++y) {
            for (int x = glyph.x; x < glyph.x + glyph.w; ++x) {
                if (PixelAt(*image_, x, y)[3] > 128) return true;
            }
        }
        return false;
    }

    // Each glyph lies inside the image, has ink, and shares the line height.
    void ExpectDrawable(int code) const {
        ASSERT_TRUE(font_.glyphs[code]) << "no glyph for '" << char(code) << "'";
        const GlyphLine& g = *font_.glyphs[code];
        EXPECT_GT(g.w, 0) << char(code);
        EXPECT_TRUE(g.x >= 0 && g.y >= 0 && g.x + g.w <= image_->w && g.y + g.h <= image_->h)
            << "glyph '" << char(code) << "' leaves the " << image_->w << " x " << image_->h << " image";
        // One height for all keeps every baseline on the same row.
        EXPECT_EQ(g.h, LineHeight()) << char(code);
        if (code != ' ') {
            EXPECT_TRUE(HasInk(g)) << "glyph '" << char(code) << "' is blank";
        }
    }

    // At least one clear pixel between rectangles, so filtered sampling cannot pick up a neighbour.
    void ExpectApart(const std::vector<int>& codes) const {
        for (std::size_t i = 0; i < codes.size(); ++i) {
            for (std::size_t j = i + 1; j < codes.size(); ++j) {
                const GlyphLine& a = *font_.glyphs[codes[i]];
                const GlyphLine& b = *font_.glyphs[codes[j]];
                const bool apart = a.x + a.w < b.x || b.x + b.w < a.x || a.y + a.h < b.y || b.y + b.h < a.y;
                EXPECT_TRUE(apart) << "'" << char(codes[i]) << "' and '" << char(codes[j]) << "' touch";
            }
        }
    }

    FontDescription font_;
    SurfacePtr image_;
};

// The small font that draws a cell's notes in a 4 x 4 layout of 7 x 7 px slots.
class NotesFontFile : public FontFile {
protected:
    const char* FileName() const override { return "font2.fnt"; }
};

// The companions of the glyph image: factor times its size, every glyph's ink inside
// its rectangle scaled by the factor and spanning it as the 1x glyph spans its own
// (so the one description serves all three images), no ink anywhere else.
void ExpectCompanionGlyphsAtScaledRectangles(const FontDescription& font, const SDL_Surface& image) {
    const std::string stem = font.bitmap.substr(0, font.bitmap.rfind('.'));
    for (const int factor : {2, 4}) {
        const std::string name = stem + "@" + std::to_string(factor) + "x.png";
        SurfacePtr companion = LoadRgba(name);
        ASSERT_TRUE(companion) << name;
        ASSERT_EQ(companion->w, image.w * factor) << name;
        ASSERT_EQ(companion->h, image.h * factor) << name;
        int inked = 0, inkedInRectangles = 0;  // the rectangles do not overlap
        for (int i = 0; i < companion->w * companion->h; ++i)
            inked += PixelAt(*companion, i % companion->w, i / companion->w)[3] > 0;
        for (int code = 0; code < 256; ++code) {
            if (!font.glyphs[code]) continue;
            const GlyphLine& g = *font.glyphs[code];
            int left = companion->w, right = -1;
            for (int y = g.y * factor; y < (g.y + g.h) * factor; ++y) {
                for (int x = g.x * factor; x < (g.x + g.w) * factor; ++x) {
                    const int alpha = PixelAt(*companion, x, y)[3];
                    inkedInRectangles += alpha > 0;
                    if (alpha > 128) left = std::min(left, x), right = std::max(right, x);
                }
            }
            if (code == ' ') continue;
            EXPECT_LE(left, (g.x + 1) * factor) << name << ": '" << char(code) << "' starts late";
            EXPECT_GE(right, (g.x + g.w - 1) * factor - 1) << name << ": '" << char(code) << "' ends early";
        }
        EXPECT_EQ(inked, inkedInRectangles) << name << ": ink outside every glyph's rectangle";
    }
}

TEST_F(FontFile, HeaderAndLastLineReadTheSameWhicheverWayTheLastLineIsTreated) {
    EXPECT_EQ(font_.firstLine, "[GKFONT]");
    EXPECT_FALSE(font_.lastLineIsChar) << "a glyph on the last line would be lost by a loader that skips it";
}

TEST_F(FontFile, EveryPrintableCharacterHasAGlyphInsideTheImageWithoutTouchingAnother) {
    std::vector<int> codes;
    for (int code = 32; code <= 126; ++code) {
        ExpectDrawable(code);
        codes.push_back(code);
    }
    ExpectApart(codes);
    ExpectCompanionGlyphsAtScaledRectangles(font_, *image_);
}

TEST_F(FontFile, CellValuesFitTheirCellWhenDrawnAtTheCellTextPosition) {
    // A cell is 30 x 30 and draws its value with the pen at (7, 3) from its corner.
    for (char value : std::string("123456789ABCDEFG")) {
        ASSERT_TRUE(font_.glyphs[static_cast<unsigned char>(value)]) << value;
        const GlyphLine& g = *font_.glyphs[static_cast<unsigned char>(value)];
        const int left = 7 + g.pre;
        EXPECT_GE(left, 0) << value;
        EXPECT_LE(left + g.w, 30) << value;
        EXPECT_LE(3 + g.h, 30) << value;
    }
}

TEST_F(FontFile, LineHeightKeepsMenuItemsFortyPixelsApartFromTouching) {
    EXPECT_GE(LineHeight(), 16) << "too small to read";
    EXPECT_LT(LineHeight(), 40);
}

TEST_F(NotesFontFile, EveryNoteValueFillsItsSevenPixelSlotCentredAndReadable) {
    EXPECT_EQ(font_.firstLine, "[GKFONT]");
    EXPECT_FALSE(font_.lastLineIsChar);
    std::vector<int> codes;
    for (const char value : std::string("123456789ABCDEFG")) {
        const int code = static_cast<unsigned char>(value);
        ExpectDrawable(code);
        if (!font_.glyphs[code]) continue;
        const GlyphLine& g = *font_.glyphs[code];
        // Drawn with the pen at the slot's corner, the glyph stays inside the slot and its
        // advance is the slot, so notes in a row never overlap.
        EXPECT_LE(g.h, 7) << value;
        EXPECT_GE(g.pre, 0) << value;
        EXPECT_EQ(g.pre + g.w + g.post, 7) << value;
        EXPECT_LE(std::abs(g.pre - g.post), 1) << value << " is centred";
        codes.push_back(code);
    }
    ExpectApart(codes);
    EXPECT_GE(LineHeight(), 6) << "too small to read";
    ExpectCompanionGlyphsAtScaledRectangles(font_, *image_);
}

// --- window icon --------------------------------------------------------------

void ExpectIconMatches(const char* name, const unsigned char* compiled, int size) {
    SurfacePtr image = LoadRgba(name);
    ASSERT_TRUE(image) << name;
    ASSERT_EQ(image->w, size);
    ASSERT_EQ(image->h, size);
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const auto pixel = PixelAt(*image, x, y);
            const unsigned char* expected = compiled + (y * size + x) * 4;
            ASSERT_TRUE(std::equal(pixel.begin(), pixel.end(), expected)) << name << " at " << x << "," << y;
            opaque += pixel[3] == 255;
        }
    }
    EXPECT_GT(opaque, size * size / 2) << name;
}

TEST(WindowIcon, CompiledPixelsMatchTheIconImages) {
    ExpectIconMatches("icon32.png", kIcon32Rgba, kIcon32Size);
    ExpectIconMatches("icon16.png", kIcon16Rgba, kIcon16Size);
}

}  // namespace
