// The table of the levels.
#include "sudoku/levels.h"

namespace {

struct LevelFacts {
    std::int32_t level;
    const char* name;
    const char* keyword;
    std::int32_t clues;
    TechniqueBand techniques;
};

constexpr LevelFacts kLevels[] = {
    {Easy, "Easy", "easy", 128, {Technique::NakedSingle, Technique::HiddenSingle}},
    {Medium, "Medium", "medium", 90, {Technique::LockedCandidates, Technique::HiddenPair}},
    {Hard, "Hard", "hard", 70, {Technique::NakedTriple, kHardestTechnique}},
};

const LevelFacts* FactsOf(std::int32_t level) {
    for (const LevelFacts& facts : kLevels) {
        if (facts.level == level) return &facts;
    }
    return nullptr;
}

}  // namespace

bool IsLevel(std::int32_t level) {
    return FactsOf(level) != nullptr;
}

std::int32_t ClueCount(std::int32_t level) {
    const LevelFacts* facts = FactsOf(level);
    return facts ? facts->clues : 0;
}

const char* LevelName(std::int32_t level) {
    const LevelFacts* facts = FactsOf(level);
    return facts ? facts->name : "";
}

std::int32_t LevelOfKeyword(std::string_view keyword) {
    for (const LevelFacts& facts : kLevels) {
        if (keyword == facts.keyword) return facts.level;
    }
    return 0;
}

TechniqueBand LevelTechniques(std::int32_t level) {
    const LevelFacts* facts = FactsOf(level);
    return facts ? facts->techniques : TechniqueBand{Technique::NakedSingle, kHardestTechnique};
}

std::int32_t LevelOfTechnique(Technique hardest) {
    for (const LevelFacts& facts : kLevels) {
        if (facts.techniques.Holds(hardest)) return facts.level;
    }
    return 0;
}
