// The mistake watch: while mistake marks are on (K), finds the player's values that no
// completion of the givens has in their cell (sudoku/mistakes.h), on a worker of its own
// (job_worker.h: the newest job wins), as the dead-end watch does for the whole grid.
// A value proven wrong stays wrong whatever else the grid holds, so the watch keeps
// every proof it was given and marks a cell for as long as it holds the value proven
// wrong there: the marks do not blink while a newer check runs. On a one-solution
// puzzle the solution is worked out once per puzzle and every value that differs from
// it is wrong. Owns the worker (stopped and joined with the watch), the proofs and the
// solution; reads the board only inside Update.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "play/session/job_worker.h"
#include "sudoku/board.h"
#include "sudoku/grid.h"
#include "sudoku/mistakes.h"

class MistakeWatch {
public:
    MistakeWatch();

    void SetAnswerCallback(std::function<void()> callback) { worker_.SetReadyCallback(std::move(callback)); }
    // Hands changed values to the worker, or picks up its report on them; returns the
    // values newly proven wrong.
    std::uint32_t Update(const SudokuBoard& board, bool oneSolution);
    // A new game: the proofs belong to the old givens.
    void Reset();
    // The cell holds a value proven wrong.
    bool Marks(const SudokuBoard& board, int row, int column) const;

private:
    struct Reply {
        MistakeReport report;
        Grid values;  // what the report was made on
    };
    std::uint32_t TakeProofs(const Reply& reply);

    LatestJobWorker<MistakeQuery, Reply> worker_;
    Grid checked_;  // the values last handed over
    Grid givens_;   // the givens the proofs belong to
    bool posted_ = false;
    std::array<std::uint8_t, kBoardCellCount> wrong_{};  // per cell: the value proven wrong there, 0 for none
    std::uint32_t marked_ = 0;  // values proven wrong in this game (each cell and value once)
};
