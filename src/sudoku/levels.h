// The levels of a puzzle (Easy, Medium, Hard, and Expert for logic puzzles only) and
// all that is told of them: the word the game shows and the one the command lines take,
// the givens a classic puzzle keeps (128, 90 or 70 of 256; Expert is no classic level),
// and the band of techniques whose hardest one makes a logic puzzle, or a graded one, of
// the level:
//   Easy    singles only;
//   Medium  locked candidates or a pair, nothing harder;
//   Hard    a triple, a quad, a fish or a wing;
//   Expert  a colouring or a chain.
// One home for these: the generators, the grading, the menus, the screens and the
// tools ask it; all of it is constant, so a constant table may name it. Standard
// library only.
#pragma once

#include <cstdint>
#include <string_view>

#include "sudoku/logic/technique.h"

// Levels of a new puzzle; equal to the ids of the difficulty-menu items.
// (Expert follows the menu's "Return to Main menu", 4, which keeps its id.)
enum Difficulty : std::int32_t { Easy = 1, Medium = 2, Hard = 3, Expert = 5 };

// The easiest and the hardest technique whose need makes a puzzle of a level.
struct TechniqueBand {
    Technique easiest;
    Technique hardest;
    constexpr bool Holds(Technique technique) const { return technique >= easiest && technique <= hardest; }
};

namespace levels_detail {

struct LevelFacts {
    std::int32_t level;
    const char* name;
    std::string_view keyword;
    std::int32_t clues;
    TechniqueBand techniques;
};

inline constexpr LevelFacts kLevels[] = {
    {Easy, "Easy", "easy", 128, {Technique::NakedSingle, Technique::HiddenSingle}},
    {Medium, "Medium", "medium", 90, {Technique::LockedCandidates, Technique::HiddenPair}},
    {Hard, "Hard", "hard", 70, {Technique::NakedTriple, Technique::XYZWing}},
    {Expert, "Expert", "expert", 0, {Technique::ColourWrap, kHardestTechnique}},
};

// The index of a level's facts in kLevels; -1 for an unknown level. An index, not a
// pointer: a pointer compared in a constant expression is refused by sanitizer builds.
constexpr int IndexOf(std::int32_t level) {
    int index = 0;
    for (const LevelFacts& facts : kLevels) {
        if (facts.level == level) return index;
        ++index;
    }
    return -1;
}

// The facts of a known level.
constexpr const LevelFacts& FactsOf(std::int32_t level) { return kLevels[IndexOf(level)]; }

}  // namespace levels_detail

// True for Easy, Medium, Hard and Expert.
constexpr bool IsLevel(std::int32_t level) {
    return levels_detail::IndexOf(level) >= 0;
}

// True for the levels of classic puzzles: Easy, Medium and Hard.
constexpr bool IsClassicLevel(std::int32_t level) {
    return IsLevel(level) && levels_detail::FactsOf(level).clues > 0;
}

// Givens a classic puzzle keeps at a level: 128, 90 or 70 of 256; 0 for Expert and an
// unknown level.
constexpr std::int32_t ClueCount(std::int32_t level) {
    return IsLevel(level) ? levels_detail::FactsOf(level).clues : 0;
}

// "Easy", "Medium", "Hard", "Expert"; "" for another level.
constexpr const char* LevelName(std::int32_t level) {
    return IsLevel(level) ? levels_detail::FactsOf(level).name : "";
}

// The level of a keyword as the command lines take it ("easy", "medium", "hard",
// "expert"); 0 for none.
constexpr std::int32_t LevelOfKeyword(std::string_view keyword) {
    for (const levels_detail::LevelFacts& facts : levels_detail::kLevels) {
        if (keyword == facts.keyword) return facts.level;
    }
    return 0;
}

// The level's band of techniques; every technique for another level.
constexpr TechniqueBand LevelTechniques(std::int32_t level) {
    return IsLevel(level) ? levels_detail::FactsOf(level).techniques
                          : TechniqueBand{Technique::NakedSingle, kHardestTechnique};
}

// The level whose band holds the technique; 0 for none (every technique has one).
constexpr std::int32_t LevelOfTechnique(Technique hardest) {
    for (const levels_detail::LevelFacts& facts : levels_detail::kLevels) {
        if (facts.techniques.Holds(hardest)) return facts.level;
    }
    return 0;
}
