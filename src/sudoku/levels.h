// The levels of a puzzle (Easy, Medium, Hard) and all that is told of them: the word
// the game shows and the one the command lines take, the givens a classic puzzle keeps
// (128, 90 or 70 of 256), and the band of techniques whose hardest one makes a logic
// puzzle, or a graded one, of the level:
//   Easy    singles only;
//   Medium  locked candidates or a pair, nothing harder;
//   Hard    a triple, a quad, a fish or a wing.
// One home for these: the generators, the grading, the screens and the tools ask it.
// Standard library only.
#pragma once

#include <cstdint>
#include <string_view>

#include "sudoku/logic/technique.h"

// Levels of a new puzzle; equal to the ids of the difficulty-menu items.
enum Difficulty : std::int32_t { Easy = 1, Medium = 2, Hard = 3 };

// True for Easy, Medium and Hard.
bool IsLevel(std::int32_t level);
// Givens a classic puzzle keeps at a level: 128, 90 or 70 of 256; 0 for an unknown level.
std::int32_t ClueCount(std::int32_t level);
// "Easy", "Medium", "Hard"; "" for another level.
const char* LevelName(std::int32_t level);
// The level of a keyword as the command lines take it ("easy", "medium", "hard"); 0 for none.
std::int32_t LevelOfKeyword(std::string_view keyword);

// The easiest and the hardest technique whose need makes a puzzle of the level; every
// technique for another level.
struct TechniqueBand {
    Technique easiest;
    Technique hardest;
    bool Holds(Technique technique) const { return technique >= easiest && technique <= hardest; }
};
TechniqueBand LevelTechniques(std::int32_t level);
// The level whose band holds the technique; 0 for none (every technique has one).
std::int32_t LevelOfTechnique(Technique hardest);
