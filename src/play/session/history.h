// The undo and redo history of the game in progress. Every move (play/session/move.h)
// is one step; a step is a
// run of cell changes (value and notes before and after) whose first change
// carries firstOfStep (writing a value that also clears its peers' notes, or
// filling every cell's notes, is one step of many changes). Undoing a step puts
// its "before" values back in reverse order and moves it to the redo side;
// redoing applies its "after" values in order and moves it back. A new step
// drops every redo step. At most kHistoryStepLimit steps and kMaxHistoryChanges
// changes are kept (what the game.state file
// holds): the oldest step goes first, also from a history taken over from the
// file. A step costs a few bytes, both sides are flat vectors; dropping the
// oldest step only moves the undo side's start, and the dropped changes are
// cleared out once they are half of it, so trimming costs constant time per
// change (amortised). Owns nothing but its two vectors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sudoku/grid.h"
#include "save/game_state.h"
#include "sudoku/board.h"
#include "sudoku/cell_change.h"

constexpr std::size_t kHistoryStepLimit = 100'000;

class History {
public:
    // Records a move's changes (indices below 16, values up to 16) as one step and drops
    // every redo step. Changes that change nothing are left out; a step of none is not
    // recorded.
    void RecordStep(const std::vector<CellChange>& changes);
    // Takes over a history read back from the game.state file (its vectors in the
    // order UndoChanges and RedoChanges give), dropping its oldest steps beyond the
    // limits; the caller has checked that each side is empty or opens with a step.
    void Restore(std::vector<CellChange> undoChanges, std::vector<CellChange> redoChanges);
    // Moves the last step to the redo side and gives its changes in the order they
    // applied (the caller puts their "before" sides back, last first); null when there is
    // none. *cell receives the step's cell: the one cell it changed, or the cell whose
    // value it changed (its peers' notes going with it); {-1, -1} for a step that only
    // changed the notes of several cells. The changes stay valid until the next call.
    const std::vector<CellChange>* Undo(CellRef* cell);
    // Moves the last undone step back and gives its changes (to apply in order), as Undo.
    const std::vector<CellChange>* Redo(CellRef* cell);
    void Clear();

    std::size_t UndoSteps() const { return undoSteps; }
    std::size_t RedoSteps() const { return redoSteps; }
    // Counts every recorded change, undo and redo: the game is saved when it moved on.
    std::uint64_t Revision() const { return revision; }
    // Oldest change first; the step undone next is the last one.
    std::vector<CellChange> UndoChanges() const;
    // The step redone next is the last one; each step's changes in the order they apply.
    const std::vector<CellChange>& RedoChanges() const { return redo; }
    // Changes moved in memory so far to clear out dropped steps (what trimming costs).
    std::uint64_t TrimMoves() const { return trimMoves; }

private:
    bool UndoEmpty() const { return undo.size() == undoStart; }
    void DropOldestStep();
    void TrimToLimits();

    std::vector<CellChange> undo;  // the history is undo[undoStart..]; before it, dropped steps
    std::size_t undoStart = 0;
    std::vector<CellChange> redo;
    std::size_t undoSteps = 0;
    std::size_t redoSteps = 0;
    std::uint64_t revision = 0;
    std::uint64_t trimMoves = 0;
    std::vector<CellChange> moved;  // the step Undo or Redo moved last
};
