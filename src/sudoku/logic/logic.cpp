// Logic engine: the finders of every technique in order, and solving by steps.
#include "sudoku/logic/logic.h"

#include <algorithm>

#include "sudoku/logic/techniques/chains.h"
#include "sudoku/logic/techniques/finder.h"
#include "sudoku/logic/techniques/fish.h"
#include "sudoku/logic/techniques/intersections.h"
#include "sudoku/logic/techniques/singles.h"
#include "sudoku/logic/techniques/subsets.h"
#include "sudoku/logic/techniques/wings.h"

namespace {

// The finder of each technique, in the order of Technique.
constexpr Finder kFinders[] = {
    FindNakedSingle,
    FindHiddenSingle,
    FindLockedCandidates,
    FindOfSize<FindNakedSubset, 2>,
    FindOfSize<FindHiddenSubset, 2>,
    FindOfSize<FindNakedSubset, 3>,
    FindOfSize<FindHiddenSubset, 3>,
    FindOfSize<FindNakedSubset, 4>,
    FindOfSize<FindHiddenSubset, 4>,
    FindOfSize<FindFish, 2>,
    FindOfSize<FindFish, 3>,
    FindOfSize<FindFish, 4>,
    FindXYWing,
    FindXYZWing,
    FindColourWrap,
    FindColourTrap,
    FindXChain,
    FindXYChain,
    FindAlternatingChain,
};
static_assert(sizeof kFinders / sizeof kFinders[0] == kTechniqueCount, "one finder per technique");

}  // namespace

StepSearch FindNextStep(const LogicGrid& grid, LogicStep& step, Technique hardest) {
    if (grid.Size() == 0) return StepSearch::None;
    SearchGrid search(grid);
    if (!Tabulate(search)) return StepSearch::Contradiction;
    if (grid.EmptyCells() == 0) return StepSearch::None;
    for (int t = 0; t <= static_cast<int>(hardest) && t < kTechniqueCount; ++t) {
        if (kFinders[t](search, step)) return StepSearch::Found;
    }
    return StepSearch::None;
}

LogicGrade SolveBySteps(LogicGrid& grid, Technique hardest) {
    LogicGrade grade;
    LogicStep step;
    for (;;) {
        const StepSearch found = FindNextStep(grid, step, hardest);
        if (found != StepSearch::Found) {
            grade.outcome = found == StepSearch::Contradiction ? LogicOutcome::Contradiction
                            : grid.EmptyCells() == 0           ? LogicOutcome::Solved
                                                               : LogicOutcome::Stuck;
            break;
        }
        grid.Apply(step);
        ++grade.steps;
        ++grade.counts[static_cast<std::size_t>(step.technique)];
        grade.hardest = std::max(grade.hardest, step.technique);
    }
    grade.emptyLeft = grid.EmptyCells();
    return grade;
}

LogicGrade GradeQuickly(LogicGrid& grid, Technique hardest) {
    LogicGrade grade;
    LogicStep step;
    Technique used = Technique::NakedSingle;
    for (;;) {
        if (grid.HasClash() || !PlaceSingles(grid, used)) {
            grade.outcome = LogicOutcome::Contradiction;
            break;
        }
        if (grid.EmptyCells() == 0) {
            grade.outcome = LogicOutcome::Solved;
            break;
        }
        const StepSearch found = FindNextStep(grid, step, hardest);
        if (found != StepSearch::Found) {
            grade.outcome =
                found == StepSearch::Contradiction ? LogicOutcome::Contradiction : LogicOutcome::Stuck;
            break;
        }
        grid.Apply(step);
        used = std::max(used, step.technique);
    }
    grade.hardest = used;
    grade.emptyLeft = grid.EmptyCells();
    return grade;
}
