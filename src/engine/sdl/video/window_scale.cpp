#include "engine/sdl/video/window_scale.h"

#include <cmath>

namespace {

constexpr float kStandardDpi = 96.0f;
constexpr int kLargestScale = 4;

}  // namespace

int ChooseWindowScale(float dpi, int usableWidth, int usableHeight, int width, int height) {
    if (!(dpi > 0.0f) || width <= 0 || height <= 0) return 1;
    // 1.75 x the standard density and above doubles; 1.5 x stays single, since
    // doubling there would often not fit and single size is still readable.
    // Capped before the conversion: a display may report any density, infinity included.
    const float wanted = std::floor(dpi / kStandardDpi + 0.25f);
    int scale = wanted >= kLargestScale ? kLargestScale : static_cast<int>(wanted);
    const bool knownArea = usableWidth > 0 && usableHeight > 0;
    while (scale > 1 && knownArea && (width * scale > usableWidth || height * scale > usableHeight)) --scale;
    return scale < 1 ? 1 : scale;
}

ScaledArea LetterboxArea(int outputWidth, int outputHeight, int width, int height) {
    ScaledArea area;
    if (outputWidth <= 0 || outputHeight <= 0 || width <= 0 || height <= 0) return area;
    const double wanted = static_cast<double>(width) / height;
    const double real = static_cast<double>(outputWidth) / outputHeight;
    if (wanted > real) {  // wider than the output: full width, bars above and below
        const double scale = static_cast<double>(outputWidth) / width;
        area.w = outputWidth;
        area.h = static_cast<int>(std::floor(height * scale));
        area.y = (outputHeight - area.h) / 2;
    } else {  // full height, bars at the sides
        const double scale = static_cast<double>(outputHeight) / height;
        area.h = outputHeight;
        area.w = static_cast<int>(std::floor(width * scale));
        area.x = (outputWidth - area.w) / 2;
    }
    return area;
}
