// Grading of a puzzle that comes from outside the game (a pasted code, a file): how
// many full grids finish it, told by the solution counter stopping at two, how far
// the logic engine takes it, and the level that makes it. A level is told from the
// hardest technique the logic engine needs, by the levels' bands of techniques
// (levels.h), as the logic generator makes them: singles only are Easy; locked
// candidates or a pair, Medium; a triple, a quad, a fish or a wing, Hard. Only a puzzle
// with one solution that the engine finishes has a level. Owns no state; may run on
// any thread, and stops early when asked. Standard library only.
#pragma once

#include <atomic>
#include <cstdint>

#include "sudoku/board.h"
#include "sudoku/levels.h"
#include "sudoku/logic/logic.h"

enum class SolutionVerdict {
    None,     // no full grid keeps the values (a clash among them, or a dead end)
    Unique,   // exactly one
    Many,     // two or more
    Unknown,  // the counter's budget ran out, or it was stopped, before it could tell
};

struct PuzzleGrade {
    SolutionVerdict solutions = SolutionVerdict::Unknown;
    LogicGrade logic;        // the logic engine's steps on the values, as SolveBySteps took them
    std::int32_t level = 0;  // Easy, Medium or Hard; 0 without one
};

// Grades the values (0 = empty) of a grid of box size 2 to 5. The count stops at two;
// stop, when given, ends it early (Unknown) once true.
PuzzleGrade GradePuzzle(const Grid& values, std::int32_t boxSize, const std::atomic<bool>* stop = nullptr);
