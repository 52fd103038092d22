// The dead-end watch: keeps asking whether the grid on the play screen can still
// be finished, without holding up a frame. The search runs on a worker of its own
// (job_worker.h: the newest job wins): when the board's values differ from the ones
// last handed over, Update hands them to the worker; the worker runs a completion
// search on its own copy (givens and the player's values all fixed), drops it as soon
// as a newer job arrives, and leaves its verdict for Update to pick up. The frame never
// waits for the search, and a whole search can run far longer than a frame, which is
// why it runs apart from the frames. The verdict is Unknown while the search runs. Owns
// the worker (stopped and joined with the watch) and its copies; reads the board only
// inside Update. A frame allocates nothing; a finished check moves its completion in.
// The answer callback, when set, is called on the worker when a verdict is ready
// (the game wakes its frame loop with it, which may be waiting for input).
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "play/session/job_worker.h"
#include "sudoku/board.h"
#include "sudoku/completion.h"

class DeadEndWatch {
public:
    DeadEndWatch();

    // Takes effect from the next worker started (by the first Update, or after Stop).
    void SetAnswerCallback(std::function<void()> callback) { worker_.SetReadyCallback(std::move(callback)); }
    // Hands changed values to the worker, or picks up its verdict on the current ones.
    void Update(const SudokuBoard& board);
    // Stops and joins the worker (waits at most one node of its search); the next
    // Update starts anew.
    void Stop();
    // The verdict on the values last handed over; Unknown while pending.
    Completion Verdict() const { return finished_ ? result_.verdict : Completion::Unknown; }
    // True when the finished verdict is a dead end and belongs to the board's current values.
    bool ShowsDeadEnd(const SudokuBoard& board) const;
    // The finished result when it belongs to the board's current values; null otherwise.
    const CompletionResult* ResultFor(const SudokuBoard& board) const;

private:
    // The values a search runs on, and the board's box size.
    struct Check {
        Grid values;
        std::int32_t boxSize = 0;
    };
    bool Checks(const SudokuBoard& board) const;

    LatestJobWorker<Check, CompletionResult> worker_;  // its thread starts with the first Update with a board
    Check checked_;                                    // the values last handed over
    bool posted_ = false;
    bool finished_ = false;
    CompletionResult result_;  // the worker's answer on checked_ once finished_
};
