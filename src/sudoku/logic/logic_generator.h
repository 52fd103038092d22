// Logic puzzles: a second puzzle generator beside the classic one (generator.h, which
// it leaves alone). It makes puzzles with exactly one solution that the logic engine
// (logic.h) finishes, graded by the techniques they need: the hardest lies in the
// level's band (levels.h; Easy needs singles only, Medium locked candidates or a pair,
// Hard a triple, a quad, a fish or a wing, Expert a colouring or a chain).
// A random full grid, then givens taken away in pairs placed 180 degrees apart for as
// long as the engine still finishes the grid within the level's techniques; a grid
// whose result falls short of the level is replaced by a new one (Expert takes givens
// away within the wings first, then with the chains too), and the puzzle made
// is graded step by step. The engine finishing the grid is what keeps the solution
// unique: every step is forced, so no other full grid fits the givens. (This is
// stronger and far cheaper than counting solutions for every given taken; the separate
// solution counter of solution_count.h checks it in the tests and the benchmark.)
//
// Deterministic per seed, with its own random source (the program-wide one of
// generator.h is not touched), so it may run on a worker thread; a stop flag set from
// another thread ends it early. Standard library only.
#pragma once

#include <atomic>
#include <cstdint>

#include "sudoku/board.h"
#include "sudoku/levels.h"
#include "sudoku/logic/logic.h"

struct LogicPuzzle {
    std::int32_t boxSize = 0;
    std::int32_t level = 0;  // Easy, Medium, Hard or Expert
    Grid givens;             // [row][column], 0 = empty
    Grid solution;
    LogicGrade grade;        // solving the givens by steps
    std::int32_t grids = 0;  // full grids it took
};

enum class LogicMake { Made, Stopped, Failed };

// A grade solved with a hardest technique inside the level's band.
bool GradeMatchesLevel(const LogicGrade& grade, std::int32_t level);

// Makes the puzzle of (level, seed) on a grid of box size 2..5 (16 x 16 by default).
// Stopped as soon as *stop is true (checked between two tries of a given); Failed for
// an unknown level or box size, or after `maxGrids` grids without a puzzle.
LogicMake MakeLogicPuzzle(std::int32_t level, std::uint64_t seed, LogicPuzzle& puzzle,
                          const std::atomic<bool>* stop = nullptr, std::int32_t boxSize = 4,
                          std::int32_t maxGrids = 1000);

// Makes the board a new game of the puzzle: size, box size, level, and values and
// givens both equal to the puzzle's givens.
void SetUpLogicGame(SudokuBoard& board, const LogicPuzzle& puzzle);
