// Generator: the program-wide random source, the randomised backtracking solver
// and the puzzle generator behind SudokuBoard::NewGame.
// Owns the one random source of the program. It is seeded once, when the program
// starts, with the low 32 bits of the calendar time in seconds; SeedRandom reseeds
// it (the command-line tool and the tests use that for repeatable puzzles).
// A search for a full grid is bounded: an attempt that would enter Solve more often
// than its limit is abandoned and started afresh with twice the limit, so making a
// puzzle never stalls. Standard library only.
#pragma once

#include <cstdint>

#include "sudoku/board.h"

// --- Random source: 32-bit linear congruential generator, 15-bit results ---------
void SeedRandom(std::uint32_t seed);
// Advances the source once and returns (state >> 16) & 0x7FFF, 0..32767.
std::int32_t RandomDraw();
// Maps one draw onto low..high inclusive (either order), exactly as RandomInt does.
std::int32_t ScaleDraw(std::int32_t draw, std::int32_t low, std::int32_t high);
// A number from low to high inclusive, taken from one draw.
std::int32_t RandomInt(std::int32_t low, std::int32_t high);

// --- Bounded search -----------------------------------------------------------
constexpr std::uint64_t kFirstSolveLimit = 200000;

struct GenerationLimits {
    // Solve entries allowed to the first attempt, counting Solve(0); doubled per restart.
    std::uint64_t firstSolveLimit = kFirstSolveLimit;
};

struct GenerationStats {
    std::uint64_t solveCalls = 0;  // Solve entries made over all attempts
    std::int32_t attempts = 0;     // attempts started; more than 1 means the search restarted
};

// Empties values and fills them with a random complete grid by Solve(0), restarting
// with a doubled limit whenever an attempt runs out of Solve entries. The board must
// have its size, box size and grid shape already (at most 25 x 25).
bool SolveWithRestarts(SudokuBoard& board, const GenerationLimits& limits, GenerationStats& stats);

// Fills the board by SolveWithRestarts, empties random cells down to the clue count
// of the board's difficulty (levels.h) and copies what is left into givens.
bool Generate(SudokuBoard& board, const GenerationLimits& limits, GenerationStats& stats);

// SudokuBoard::NewGame with explicit limits and statistics. Returns false, leaving the
// board untouched, for a level other than Easy, Medium or Hard.
bool NewGame(SudokuBoard& board, std::int32_t level, const GenerationLimits& limits, GenerationStats& stats);
