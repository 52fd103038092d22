#include "engine/sdl/window_scale.h"

#include <cmath>

namespace {

constexpr float kStandardDpi = 96.0f;
constexpr int kLargestScale = 4;

}  // namespace

int ChooseWindowScale(float dpi, int usableWidth, int usableHeight, int width, int height) {
    if (!(dpi > 0.0f) || width <= 0 || height <= 0) return 1;
    // 1.75 x the standard density and above doubles; 1.5 x stays single, since
    // doubling there would often not fit and single size is still readable.
    int scale = static_cast<int>(std::floor(dpi / kStandardDpi + 0.25f));
    if (scale > kLargestScale) scale = kLargestScale;
    const bool knownArea = usableWidth > 0 && usableHeight > 0;
    while (scale > 1 && knownArea && (width * scale > usableWidth || height * scale > usableHeight)) --scale;
    return scale < 1 ? 1 : scale;
}
