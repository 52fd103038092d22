// The solution count and the logic grade of a puzzle, and its level.
#include "sudoku/logic/puzzle_grade.h"

#include "sudoku/logic/solution_count.h"

namespace {

SolutionVerdict VerdictOf(const SolutionCount& count) {
    if (count.solutions >= 2) return SolutionVerdict::Many;
    if (!count.settled) return SolutionVerdict::Unknown;
    return count.solutions == 1 ? SolutionVerdict::Unique : SolutionVerdict::None;
}

}  // namespace

PuzzleGrade GradePuzzle(const Grid& values, std::int32_t boxSize, const std::atomic<bool>* stop) {
    PuzzleGrade grade;
    grade.solutions = VerdictOf(CountSolutions(values, boxSize, 2, kSolutionCountBudget, stop));
    if (stop != nullptr && stop->load()) return grade;
    LogicGrid grid;
    if (grid.Load(values, boxSize)) {
        grade.logic = SolveBySteps(grid);
    } else {
        grade.logic.outcome = LogicOutcome::Contradiction;
    }
    if (grade.solutions == SolutionVerdict::Unique && grade.logic.outcome == LogicOutcome::Solved)
        grade.level = LevelOfTechnique(grade.logic.hardest);
    return grade;
}
