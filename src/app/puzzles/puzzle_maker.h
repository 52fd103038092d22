// The worker that makes a logic puzzle (one solution, graded by technique) off the
// frame thread (a job of play/session/job_worker.h), so the window keeps drawing while
// a new game waits for it. A puzzle dropped (Escape, or a new one started) is told to
// stop and joined later, never waited for on the frame thread. Owns the thread of the
// puzzle under way and of one dropped, joined before the next starts or with the maker.
#pragma once

#include <cstdint>
#include <functional>

#include "play/session/job_worker.h"
#include "sudoku/logic/logic_generator.h"

class LogicPuzzleMaker {
public:
    // Called on the worker's thread once a puzzle is made or making failed (to wake a
    // waiting frame loop); takes effect from the next Start.
    void SetReadyCallback(std::function<void()> callback) { ready_ = std::move(callback); }
    // Starts making the puzzle of (level, seed); a puzzle under way is dropped first.
    void Start(std::int32_t level, std::uint64_t seed);
    // A puzzle is under way and not yet taken.
    bool Busy() const { return job_.Busy(); }
    // Once the puzzle is made (or making failed): takes it and returns true with the outcome.
    bool Take(LogicPuzzle& puzzle, LogicMake& outcome);
    // Drops the puzzle under way: its thread is told to stop and is joined later.
    void Drop();
    // Drops the puzzle under way and joins every thread (shutdown).
    void Stop();

private:
    struct Made {
        LogicPuzzle puzzle;
        LogicMake outcome = LogicMake::Failed;
    };
    OneShotJob<Made> job_;      // the puzzle under way
    OneShotJob<Made> dropped_;  // a job told to stop, not joined yet
    std::function<void()> ready_;
};
