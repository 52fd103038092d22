// Bringing a game.state to the game.save beside it. The two files are written one
// after the other, so a write that failed (a full disk) or a kill between them can
// leave a game.state of an earlier position of the same game. What it says is
// then kept as far as it is still true: the play time and the hints used always;
// the history when the saved board lies on it (some of its steps undone or redone)
// or can be reached from its board by one step more; otherwise the notes of the
// cells that are still empty, without the history. A state of another puzzle, or
// one of the first version (which did not keep its board), is used only when it
// matches exactly. Standard library only.
#pragma once

#include <cstdint>
#include <string>

#include "save/game_state.h"
#include "sudoku/board.h"

// How a record was fitted to the saved board.
enum class StateFit {
    Exact,      // written for this very board: taken as it is
    Undone,     // the saved board is the record's after undoing its last steps: they went to redo
    Redone,     // the saved board is the record's after redoing steps: they went to undo
    Bridged,    // one step from the record's board to the saved one was added (redo dropped)
    NoHistory,  // same puzzle, history not applicable: clock, hints and notes of empty cells kept
    Foreign,    // another puzzle, or not comparable: nothing of it is used
};

// Fits record, read from a file naming fingerprint, to the saved board. record
// holds what is to be used afterwards (untouched for Foreign).
StateFit FitGameState(PlayRecord& record, std::uint64_t fingerprint, const SudokuBoard& saved);

// Reads the game.state at path and fits it to the saved board; false when nothing
// of it can be used (missing, damaged or foreign), record untouched then.
bool LoadPlayRecordFor(const std::string& path, const SudokuBoard& saved, PlayRecord& record);
