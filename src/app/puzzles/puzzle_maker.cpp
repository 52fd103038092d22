#include "app/puzzles/puzzle_maker.h"

#include <atomic>
#include <utility>

void LogicPuzzleMaker::Start(std::int32_t level, std::uint64_t seed) {
    Drop();
    dropped_.Stop();  // told to stop long ago: joins at once
    job_.Start(
        [level, seed](const std::atomic<bool>& stop) {
            Made made;
            made.outcome = MakeLogicPuzzle(level, seed, made.puzzle, &stop);
            return made;
        },
        ready_);
}

bool LogicPuzzleMaker::Take(LogicPuzzle& puzzle, LogicMake& outcome) {
    Made made;
    if (!job_.Take(made)) return false;
    puzzle = std::move(made.puzzle);
    outcome = made.outcome;
    return true;
}

void LogicPuzzleMaker::Drop() {
    job_.TellToStop();
    dropped_ = std::move(job_);  // a job dropped before is joined here; it was told to stop long ago
}

void LogicPuzzleMaker::Stop() {
    Drop();
    dropped_.Stop();
}
