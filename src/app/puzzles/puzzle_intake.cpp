// Reading, checking and grading a puzzle from outside, and the worker that does it.
#include "app/puzzles/puzzle_intake.h"

#include <utility>

#include "play/view/status_line.h"
#include "save/puzzle_file.h"
#include "sudoku/logic/puzzle_grade.h"
#include "sudoku/puzzle_code.h"

namespace {

bool HasEmptyCell(const Grid& values) {
    for (const auto& line : values) {
        for (const std::int32_t v : line) {
            if (v == 0) return true;
        }
    }
    return false;
}

std::uint8_t SolutionsOf(SolutionVerdict verdict) {
    switch (verdict) {
        case SolutionVerdict::Unique:
            return 1;
        case SolutionVerdict::Many:
            return 2;
        default:
            return 0;  // not known (the completion check found one, so never none)
    }
}

// A grid full of values and free of clashes is a game already won: nothing to play.
bool LeavesSomethingToPlay(const PuzzleInput& input, std::string& error) {
    if (HasEmptyCell(input.values) || !DescribeClash(input.values).empty()) return true;
    error = "every cell is filled: nothing is left to play";
    return false;
}

}  // namespace

bool TakeInPuzzleText(const std::string& text, PuzzleKind kind, TakenPuzzle& puzzle, std::string& error,
                      const std::atomic<bool>* stop) {
    PuzzleInput input;
    CompletionLimits limits;
    limits.stop = stop;
    if (!ParsePuzzleText(text, input, error, PuzzleRules::Check, limits) ||
        !LeavesSomethingToPlay(input, error))
        return false;
    const PuzzleGrade grade = GradePuzzle(input.givens, kCodeBoxSide, stop);
    puzzle.givens = std::move(input.givens);
    puzzle.values = std::move(input.values);
    puzzle.origin = PuzzleOrigin{kind, grade.level, SolutionsOf(grade.solutions)};
    return true;
}

bool PrecheckPuzzleFile(const std::string& path, std::string& text, std::string& error) {
    std::string bytes;
    if (!ReadPuzzleFileText(path, bytes, error)) return false;
    PuzzleInput input;
    if (ParsePuzzleText(bytes, input, error, PuzzleRules::FormOnly)) {
        error = DescribeClash(input.givens);
        if (error.empty() && LeavesSomethingToPlay(input, error)) {
            text = std::move(bytes);
            return true;
        }
    }
    error = path + ": " + error;
    return false;
}

void SetUpTakenGame(SudokuBoard& board, const TakenPuzzle& puzzle) {
    board.size = kCodeSide;
    board.boxSize = kCodeBoxSide;
    board.givens = puzzle.givens;
    board.values = puzzle.values;
    board.difficulty = puzzle.origin.level != 0 ? puzzle.origin.level : LevelOfGivens(board, Medium);
}

void PuzzleIntakeCheck::Start(std::string text, PuzzleKind kind) {
    job_.Start(
        [text = std::move(text), kind](const std::atomic<bool>& stop) {
            PuzzleIntakeResult result;
            result.accepted = TakeInPuzzleText(text, kind, result.puzzle, result.error, &stop);
            return result;
        },
        ready_);
}
