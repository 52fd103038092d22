// The dead-end watch: keeps asking whether the grid on the play screen can still
// be finished, without holding up a frame. The search runs on a worker thread of
// its own: when the board's values differ from the ones last handed over, Update
// copies them into the worker's job and wakes it; the worker runs a completion
// search on its own copy (givens and the player's values all fixed), drops it as
// soon as a newer job arrives, and leaves its verdict for Update to pick up. The
// frame never waits for the search (the lock is held only to copy a job or a
// result), and a whole search can run far longer than a frame, which is why it
// runs apart from the frames. The verdict is Unknown while the search runs. Owns the
// worker (stopped and joined with the watch) and its copies; reads the board only
// inside Update. A frame allocates nothing; a finished check copies its completion.
// The answer callback, when set, is called on the worker when a verdict is ready
// (the game wakes its frame loop with it, which may be waiting for input).
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "sudoku/board.h"
#include "sudoku/completion.h"

class DeadEndWatch {
public:
    DeadEndWatch();
    ~DeadEndWatch();
    DeadEndWatch(DeadEndWatch&&) noexcept;
    DeadEndWatch& operator=(DeadEndWatch&&) noexcept;

    // Takes effect from the next worker started (by the first Update, or after Stop).
    void SetAnswerCallback(std::function<void()> callback) { onAnswer_ = std::move(callback); }
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
    struct Worker;
    bool Checks(const SudokuBoard& board) const;

    std::function<void()> onAnswer_;
    std::unique_ptr<Worker> worker_;  // started by the first Update with a board
    Grid checked_;                    // the values last handed over
    bool posted_ = false;
    bool finished_ = false;
    CompletionResult result_;  // the worker's answer on checked_ once finished_
};
