#include "engine/sdl/image/image_companions.h"

#include <algorithm>

namespace {

// Scales are ratios of whole pixel counts; one that misses a factor by rounding
// alone (2159.9999 / 1080) still takes that factor.
constexpr double kScaleTolerance = 1e-6;

}  // namespace

std::string CompanionName(const std::string& name, int factor) {
    if (name.empty()) return std::string();
    const std::string tag = "@" + std::to_string(factor) + "x";
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const bool hasExtension = dot != std::string::npos && dot > nameStart;  // ".name" has none
    if (!hasExtension) return name + tag;
    return name.substr(0, dot) + tag + name.substr(dot);
}

double OutputScale(int outputWidth, int outputHeight, int width, int height) {
    if (outputWidth <= 0 || outputHeight <= 0 || width <= 0 || height <= 0) return 1.0;
    return std::min(static_cast<double>(outputWidth) / width, static_cast<double>(outputHeight) / height);
}

int ChooseCompanionFactor(double scale, const std::vector<int>& available) {
    int atOrAbove = scale <= 1.0 + kScaleTolerance ? 1 : 0;
    int largest = 1;
    for (const int factor : available) {
        if (factor <= 1) continue;
        largest = std::max(largest, factor);
        if (factor >= scale - kScaleTolerance && (atOrAbove == 0 || factor < atOrAbove)) atOrAbove = factor;
    }
    return atOrAbove != 0 ? atOrAbove : largest;
}
