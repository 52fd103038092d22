// The undo and redo history of the game in progress. Every change of a cell's
// value or notes, from the value ring or the keyboard, is one step; a step is a
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

#include "play/view/board_view.h"
#include "save/game_state.h"
#include "sudoku/cell_change.h"
#include "sudoku/board.h"

constexpr std::size_t kHistoryStepLimit = 100'000;

class History {
public:
    // Records the change of one cell's value from before to after as a step.
    // A change that changes nothing, or that lies outside the range a change
    // can hold, is not recorded.
    void RecordValueChange(int row, int column, int before, int after);
    // Adds one cell's change (indices below 16, values up to 16) to the history; first
    // opens a new step and drops every redo step. The first change after Clear or
    // Restore must open a step. A change that changes nothing is not recorded.
    void RecordChange(CellChange change, bool first);
    // Takes over a history read back from the game.state file (its vectors in the
    // order UndoChanges and RedoChanges give), dropping its oldest steps beyond the
    // limits; the caller has checked that each side is empty or opens with a step.
    void Restore(std::vector<CellChange> undoChanges, std::vector<CellChange> redoChanges);
    // Undoes the last step on the board; false when there is none. *cell receives
    // the step's cell: the one cell it changed, or the cell whose value it changed
    // (its peers' notes going with it); {-1, -1} for a step that only changed the
    // notes of several cells. Notes, when given, get their "before" notes back.
    bool Undo(SudokuBoard& board, CellRef* cell, NotesGrid* notes = nullptr);
    // Redoes the last undone step; false when there is none. *cell receives the
    // step's cell as Undo gives it; notes, when given, get the "after" notes.
    bool Redo(SudokuBoard& board, CellRef* cell, NotesGrid* notes = nullptr);
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
};
