// The dark and high-contrast themes' legibility, computed from their palettes and the
// cell faces their images are drawn with: every text of the board keeps its contrast
// (WCAG 2 relative luminance) on every cell it can lie on, and the marks on the board
// stay apart from each other (CIE 1976 colour difference) for normal eyes and under a
// simulation of deuteranopia and protanopia (Machado, Oliveira and Fernandes 2009,
// severity 1).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gfx/themes.h"

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0..255
};

double Linear(double c) {
    c /= 255;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Encoded(double l) {
    l = std::fmin(1, std::fmax(0, l));
    return 255 * (l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055);
}
double Luminance(Rgb c) {
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}
double Contrast(Rgb a, Rgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}
Rgb Opaque(std::uint32_t argb) {
    return {double((argb >> 16) & 255), double((argb >> 8) & 255), double(argb & 255)};
}
// argb blended over base as the renderer blends it.
Rgb Over(std::uint32_t argb, Rgb base) {
    const double a = (argb >> 24) / 255.0;
    const Rgb top = Opaque(argb);
    return {top.r * a + base.r * (1 - a), top.g * a + base.g * (1 - a), top.b * a + base.b * (1 - a)};
}

using Matrix = double[3][3];
constexpr Matrix NormalVision = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
constexpr Matrix Deuteranopia = {
    {0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}};
constexpr Matrix Protanopia = {
    {0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}};

Rgb Seen(Rgb c, const Matrix& m) {
    const double l[3] = {Linear(c.r), Linear(c.g), Linear(c.b)};
    double o[3];
    for (int i = 0; i < 3; ++i) o[i] = m[i][0] * l[0] + m[i][1] * l[1] + m[i][2] * l[2];
    return {Encoded(o[0]), Encoded(o[1]), Encoded(o[2])};
}

// CIE 1976 L*a*b* distance (D65).
double DeltaE(Rgb a, Rgb b) {
    const auto lab = [](Rgb c, double out[3]) {
        const double r = Linear(c.r), g = Linear(c.g), bl = Linear(c.b);
        const double xyz[3] = {(0.4124 * r + 0.3576 * g + 0.1805 * bl) / 0.95047,
                               0.2126 * r + 0.7152 * g + 0.0722 * bl,
                               (0.0193 * r + 0.1192 * g + 0.9505 * bl) / 1.08883};
        double f[3];
        for (int i = 0; i < 3; ++i)
            f[i] = xyz[i] > 0.008856 ? std::cbrt(xyz[i]) : 7.787 * xyz[i] + 16.0 / 116;
        out[0] = 116 * f[1] - 16, out[1] = 500 * (f[0] - f[1]), out[2] = 200 * (f[1] - f[2]);
    };
    double x[3], y[3];
    lab(a, x), lab(b, y);
    return std::sqrt((x[0] - y[0]) * (x[0] - y[0]) + (x[1] - y[1]) * (x[1] - y[1]) +
                     (x[2] - y[2]) * (x[2] - y[2]));
}

// The colours inside a face image's edges: its gradient's first and last rows.
std::vector<Rgb> FaceColours(const char* name) {
    SDL_Surface* loaded = IMG_Load(name);
    EXPECT_NE(loaded, nullptr) << name;
    if (!loaded) return {};
    SDL_Surface* face = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    std::vector<Rgb> colours;
    for (int y : {1, face->h - 2}) {
        const auto* p = static_cast<const std::uint8_t*>(face->pixels) + y * face->pitch + (face->w / 2) * 4;
        colours.push_back({double(p[0]), double(p[1]), double(p[2])});
    }
    SDL_FreeSurface(face);
    return colours;
}

struct ThemeCase {
    Theme theme;
    double contrast;  // the least contrast of the board's texts
};
constexpr ThemeCase Themes[] = {{Theme::Dark, 4.5}, {Theme::HighContrast, 7.0}};
// Marks tell apart by at least this (CIE76; about 2.3 is the least difference seen), and a
// fill shows on its face by at least MinFillShown.
constexpr double MinMarkDistance = 20, MinFillShown = 12;

}  // namespace

TEST(ThemePalettes, BoardTextsKeepTheirContrastOnEveryCellTheyLieOn) {
    for (const ThemeCase& t : Themes) {
        const Palette p = PaletteOf(t.theme);
        const ThemeImages images = ImagesOf(t.theme);
        for (const char* faceImage : {images.plainFace, images.hoveredFace}) {
            for (const Rgb face : FaceColours(faceImage)) {
                const Rgb cells[] = {face, Over(p.sameValueTint, face), Over(p.hintUnit, face),
                                     Over(p.hintTargetFill, face)};
                for (const Rgb cell : cells) {
                    for (const std::uint32_t text : {p.givenValue, p.playerValue, p.clashValue, p.note})
                        EXPECT_GE(Contrast(Opaque(text), cell), t.contrast)
                            << ThemeName(t.theme) << " text " << std::hex << text << " on " << faceImage;
                }
            }
        }
    }
}

TEST(ThemePalettes, MarksStayApartForNormalAndRedGreenBlindEyes) {
    const Matrix* visions[] = {&NormalVision, &Deuteranopia, &Protanopia};
    for (const ThemeCase& t : Themes) {
        const Palette p = PaletteOf(t.theme);
        EXPECT_TRUE(p.clashMarkAlways) << "red is never the only sign of a clash";
        const ThemeImages images = ImagesOf(t.theme);
        for (const char* faceImage : {images.plainFace, images.hoveredFace}) {
            for (const Rgb face : FaceColours(faceImage)) {
                const Rgb marks[] = {Over(p.sameValueTint, face),  Over(p.hintUnit, face),
                                     Over(p.hintTargetFill, face), Opaque(p.keyboardFrame),
                                     Opaque(p.hintPattern),        Opaque(p.hintTarget),
                                     Opaque(p.clashMark)};
                for (int fill = 0; fill < 3; ++fill)
                    EXPECT_GE(DeltaE(marks[fill], face), MinFillShown)
                        << ThemeName(t.theme) << " fill " << fill << " on " << faceImage;
                for (int v = 0; v < 3; ++v)
                    for (int i = 0; i < 7; ++i)
                        for (int j = i + 1; j < 7; ++j)
                            EXPECT_GE(DeltaE(Seen(marks[i], *visions[v]), Seen(marks[j], *visions[v])),
                                      MinMarkDistance)
                                << ThemeName(t.theme) << " marks " << i << " and " << j << " on " << faceImage
                                << " for vision " << v;
            }
        }
    }
}
