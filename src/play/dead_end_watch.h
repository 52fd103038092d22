// The dead-end watch: keeps asking whether the grid on the play screen can still
// be finished, without holding up a frame. Each play-screen frame gives it one
// slice: when the board's values differ from the ones it checks, it copies them
// and starts a new completion search (givens and the player's values all fixed);
// otherwise it lets the running search spend at most DeadEndSliceNodes nodes. The
// verdict is Unknown while the search runs. Owns its copy of the values and the
// search; reads the board only inside Update. Once a search runs, a frame
// allocates nothing; a restart (a changed board) allocates the search's tables.
#pragma once

#include <cstdint>
#include <optional>

#include "sudoku/board.h"
#include "sudoku/completion.h"

// Nodes one frame may spend: a node costs a few microseconds on a 16 x 16 grid, so a
// slice stays well under a millisecond.
constexpr std::uint64_t DeadEndSliceNodes = 100;

class DeadEndWatch {
public:
    // One frame's share of the work for the board's current values.
    void Update(const SudokuBoard& board);
    // The verdict on the values last given to Update; Unknown while pending.
    Completion Verdict() const;
    // True when the finished verdict is a dead end and belongs to the board's current values.
    bool ShowsDeadEnd(const SudokuBoard& board) const;
    // The finished result when it belongs to the board's current values; null otherwise.
    const CompletionResult* ResultFor(const SudokuBoard& board) const;
    // Drops the search (the next Update starts anew).
    void Reset() { search_.reset(); }

private:
    bool Checks(const SudokuBoard& board) const;

    Grid checked_;
    std::optional<CompletionSearch> search_;
};
