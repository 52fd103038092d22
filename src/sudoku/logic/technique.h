// The techniques of the logic engine, easiest first, and their words: one home for the
// order that grades a puzzle (by the hardest technique it needs) and for the names the
// tool prints and the titles the hints show. Standard library only.
#pragma once

#include <cstdint>

// In order of difficulty; the grade of a puzzle is the hardest one it needs.
enum class Technique : std::uint8_t {
    NakedSingle,
    HiddenSingle,
    LockedCandidates,
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    NakedQuad,
    HiddenQuad,
    XWing,
    Swordfish,
    Jellyfish,
    XYWing,
    XYZWing,
    ColourWrap,
    ColourTrap,
    XChain,
    XYChain,
    AlternatingChain,
};
constexpr std::int32_t kTechniqueCount = 19;
constexpr Technique kHardestTechnique = Technique::AlternatingChain;

// True for the techniques whose steps record a chain (a colouring or a chain).
constexpr bool IsChainTechnique(Technique technique) {
    return technique >= Technique::ColourWrap && technique <= Technique::AlternatingChain;
}

// "naked-single", "hidden-single", "locked-candidates", "naked-pair", ... "xyz-wing",
// "colour-wrap", "colour-trap", "x-chain", "xy-chain", "alternating-chain".
const char* TechniqueName(Technique technique);
// "Naked single", "Hidden single", ... "XYZ-wing", "Colour wrap", ... "Alternating
// inference chain": the technique in a sentence.
const char* TechniqueTitle(Technique technique);
