// Logic engine: the steps a person takes to solve a grid, easiest first. Owns the
// search for the next step (FindNextStep), solving by steps and grading a puzzle by
// solving it with steps alone (SolveBySteps, GradeQuickly). The grid and its candidates
// are logic_grid.h's, the techniques' order technique.h's; each family of techniques
// has its finders in techniques/.
//
// Techniques, easiest first: naked single; hidden single (box, row, column); locked
// candidates (pointing and claiming); naked and hidden pairs, then triples, then quads;
// X-wing, swordfish, jellyfish; XY-wing, XYZ-wing. None assumes a unique solution, so
// every step holds on any grid: a placement is the value every completion of the grid
// has in that cell, an elimination takes out a value that no completion has there. On a
// grid without completion the steps are vacuously right; the engine still ends, and
// reports a contradiction once it sees one (a clash, an empty cell with no candidate,
// a value with no place left in a unit). The search reuses the vectors of the step it
// fills. Standard library only.
#pragma once

#include <array>
#include <cstdint>

#include "sudoku/logic/logic_grid.h"
#include "sudoku/logic/technique.h"

enum class StepSearch { Found, None, Contradiction };

// The easiest step of techniques up to `hardest`, written into step (its vectors are
// reused). Contradiction when the grid has a clash, an empty cell without candidates or
// a value without a place in a unit; None when the grid is full or nothing applies.
StepSearch FindNextStep(const LogicGrid& grid, LogicStep& step, Technique hardest = kHardestTechnique);

enum class LogicOutcome { Solved, Stuck, Contradiction };

struct LogicGrade {
    LogicOutcome outcome = LogicOutcome::Stuck;
    Technique hardest = Technique::NakedSingle;          // of the steps taken; meaningless without steps
    std::array<std::int32_t, kTechniqueCount> counts{};  // steps per technique
    std::int32_t steps = 0;
    std::int32_t emptyLeft = 0;  // empty cells when it stopped
};

// Takes the easiest step (up to `hardest`) until the grid is full, nothing applies or
// a contradiction shows; the grid is left where it stopped.
LogicGrade SolveBySteps(LogicGrid& grid, Technique hardest = kHardestTechnique);

// On a grid that has a completion, the same outcome and hardest technique as
// SolveBySteps, faster: singles are taken in batches rather than one step at a time,
// so counts and steps are not kept. For the generator, which grades a puzzle for every
// given it tries to take away.
LogicGrade GradeQuickly(LogicGrid& grid, Technique hardest = kHardestTechnique);
