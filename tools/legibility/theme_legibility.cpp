#include "theme_legibility.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0..255, sRGB
};

double Linear(double c) {
    c /= 255;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Encoded(double l) {
    l = std::clamp(l, 0.0, 1.0);
    return 255 * (l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055);
}

double Luminance(Rgb c) {
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double Contrast(Rgb a, Rgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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
constexpr Matrix VisionMatrices[VisionCount] = {
    {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
};

// The colour as an eye of that vision sees it (the simulation works on linear light).
Rgb Seen(Rgb c, Vision vision) {
    const Matrix& m = VisionMatrices[vision];
    const double l[3] = {Linear(c.r), Linear(c.g), Linear(c.b)};
    double o[3];
    for (int i = 0; i < 3; ++i) o[i] = m[i][0] * l[0] + m[i][1] * l[1] + m[i][2] * l[2];
    return {Encoded(o[0]), Encoded(o[1]), Encoded(o[2])};
}

struct Lab {
    double l, a, b;
};

Lab LabOf(Rgb c) {
    const double r = Linear(c.r), g = Linear(c.g), b = Linear(c.b);
    const double xyz[3] = {(0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047,
                           0.2126 * r + 0.7152 * g + 0.0722 * b,
                           (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883};
    double f[3];
    for (int i = 0; i < 3; ++i) f[i] = xyz[i] > 0.008856 ? std::cbrt(xyz[i]) : 7.787 * xyz[i] + 16.0 / 116;
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

double DeltaE(Rgb x, Rgb y) {
    const Lab a = LabOf(x), b = LabOf(y);
    return std::sqrt((a.l - b.l) * (a.l - b.l) + (a.a - b.a) * (a.a - b.a) + (a.b - b.b) * (a.b - b.b));
}

// The colours inside a face image's edges: the first and last rows of its gradient, in the
// middle column; none when the image cannot be read.
std::vector<Rgb> FaceColours(const char* name) {
    std::vector<Rgb> colours;
    SDL_Surface* loaded = IMG_Load(name);
    if (!loaded) return colours;
    SDL_Surface* face = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!face) return colours;
    if (face->w > 2 && face->h > 2) {
        for (int y : {1, face->h - 2}) {
            const auto* p =
                static_cast<const std::uint8_t*>(face->pixels) + y * face->pitch + (face->w / 2) * 4;
            colours.push_back({double(p[0]), double(p[1]), double(p[2])});
        }
    }
    SDL_FreeSurface(face);
    return colours;
}

// A text's least contrast over the cells it can lie on, of one face colour.
void MeasureTexts(const Palette& p, Rgb face, ThemeLegibility& result) {
    const Rgb cells[] = {face, Over(p.sameValueTint, face), Over(p.hintUnit, face),
                         Over(p.hintTargetFill, face)};
    const std::uint32_t texts[BoardTextCount] = {p.givenValue, p.playerValue, p.clashValue, p.note};
    for (int t = 0; t < BoardTextCount; ++t)
        for (const Rgb cell : cells)
            result.leastContrast[t] = std::min(result.leastContrast[t], Contrast(Opaque(texts[t]), cell));
}

// The marks' least distance from each other (each vision) and the fills' from the face.
void MeasureMarks(const Palette& p, Rgb face, ThemeLegibility& result) {
    const Rgb marks[] = {Over(p.sameValueTint, face), Over(p.hintUnit, face), Over(p.hintTargetFill, face),
                         Opaque(p.keyboardFrame),     Opaque(p.hintPattern),  Opaque(p.hintTarget),
                         Opaque(p.clashMark),         Opaque(p.mistakeMark),  Opaque(p.hintStrongLink),
                         Opaque(p.hintWeakLink)};
    constexpr int MarkCount = sizeof marks / sizeof marks[0], FillCount = 3;
    for (int i = 0; i < FillCount; ++i)
        result.leastFillShown = std::min(result.leastFillShown, DeltaE(marks[i], face));
    for (int v = 0; v < VisionCount; ++v)
        for (int i = 0; i < MarkCount; ++i)
            for (int j = i + 1; j < MarkCount; ++j) {
                const double d = DeltaE(Seen(marks[i], Vision(v)), Seen(marks[j], Vision(v)));
                result.leastMarkDistance[v] = std::min(result.leastMarkDistance[v], d);
            }
}

}  // namespace

ThemeLegibility MeasureTheme(Theme theme) {
    ThemeLegibility result;
    std::fill(std::begin(result.leastContrast), std::end(result.leastContrast), 1e9);
    std::fill(std::begin(result.leastMarkDistance), std::end(result.leastMarkDistance), 1e9);
    result.leastFillShown = 1e9;
    const Palette palette = PaletteOf(theme);
    const ThemeImages images = ImagesOf(theme);
    const std::vector<Rgb> plain = FaceColours(images.plainFace), hovered = FaceColours(images.hoveredFace);
    result.facesRead = !plain.empty() && !hovered.empty();
    for (const std::vector<Rgb>* faces : {&plain, &hovered}) {
        for (const Rgb face : *faces) {
            MeasureTexts(palette, face, result);
            MeasureMarks(palette, face, result);
        }
    }
    return result;
}
