// Each technique's name in the tool's output and its title in a sentence.
#include "sudoku/logic/technique.h"

#include <cstddef>

namespace {

struct TechniqueWords {
    const char* name;
    const char* title;
};
constexpr TechniqueWords kTechniqueWords[kTechniqueCount] = {
    {"naked-single", "Naked single"},
    {"hidden-single", "Hidden single"},
    {"locked-candidates", "Locked candidates"},
    {"naked-pair", "Naked pair"},
    {"hidden-pair", "Hidden pair"},
    {"naked-triple", "Naked triple"},
    {"hidden-triple", "Hidden triple"},
    {"naked-quad", "Naked quad"},
    {"hidden-quad", "Hidden quad"},
    {"x-wing", "X-wing"},
    {"swordfish", "Swordfish"},
    {"jellyfish", "Jellyfish"},
    {"xy-wing", "XY-wing"},
    {"xyz-wing", "XYZ-wing"},
    {"colour-wrap", "Colour wrap"},
    {"colour-trap", "Colour trap"},
    {"x-chain", "X-chain"},
    {"xy-chain", "XY-chain"},
    {"alternating-chain", "Alternating inference chain"},
};
static_assert(static_cast<std::int32_t>(kHardestTechnique) + 1 == kTechniqueCount);

const TechniqueWords* WordsOf(Technique technique) {
    const auto index = static_cast<std::size_t>(technique);
    return index < static_cast<std::size_t>(kTechniqueCount) ? &kTechniqueWords[index] : nullptr;
}

}  // namespace

const char* TechniqueName(Technique technique) {
    const TechniqueWords* words = WordsOf(technique);
    return words ? words->name : "unknown";
}

const char* TechniqueTitle(Technique technique) {
    const TechniqueWords* words = WordsOf(technique);
    return words ? words->title : "Step";
}
