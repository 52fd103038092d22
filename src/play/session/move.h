// Moves: every change of the board's values or of the notes that play makes (a value
// from the ring or the keys, a note, the filled candidates, a hint's value or its
// eliminations, undo and redo, the take-back of a dead end) is a move. A move is made
// from the board and notes as they stand by one of the functions below and carried out
// by ApplyMove, which changes the board and the notes and records the move in the
// history as one undo step; undo and redo carry a recorded step back and forth the same
// way. This module is the one place outside the board's own code that writes values,
// so the history, the saved record and the dead-end watch (fed each frame from the
// history's revision) see every change. Owns nothing: the board, notes and history
// belong to the caller.
#pragma once

#include <vector>

#include "play/session/history.h"
#include "sudoku/board.h"
#include "sudoku/cell_change.h"

// What a move works on; none owned.
struct BoardEdit {
    SudokuBoard* board = nullptr;
    NotesGrid* notes = nullptr;
    History* history = nullptr;
};

// One undo step's changes, in the order they apply.
struct Move {
    std::vector<CellChange> changes;
    bool Empty() const { return changes.empty(); }
};

// The bit of value v (1..16) in a cell's notes; 0 for any other v.
CellNotes NoteBit(int value);
// An empty, non-given cell on the board: the only kind that holds notes.
bool CanHoldNotes(const SudokuBoard& board, int row, int column);

// Writing value (0 empties) into a non-given cell: the cell, and for a value the cell's
// notes and the value in the notes of its row, column and box. Empty when the value
// does not change or cannot go there.
Move ValueMove(const BoardEdit& edit, int row, int column, int value);
// Switching note value (1..16) of a cell that can hold notes.
Move NoteMove(const BoardEdit& edit, int row, int column, int value);
// Every cell that can hold notes gets the values its row, column and box allow.
Move CandidatesMove(const BoardEdit& edit);
// Takes the bits of remove out of the notes that hold them.
Move NotesRemovalMove(const BoardEdit& edit, const NotesGrid& remove);
// Empties the given non-given cells (cells as CellRef::Index); their notes stay.
Move ValuesRemovalMove(const BoardEdit& edit, const std::vector<std::int32_t>& cells);
// Back to the givens: every value and note of the player's goes.
Move RestartMove(const BoardEdit& edit);
// The cells holding a value of the player's, newest first as the history last wrote
// them; the values the history does not know (a game restored without it) come last.
std::vector<std::int32_t> PlayersValuesNewestFirst(const SudokuBoard& board, const History& history);

// Carries the move out and records it as one step; false (and nothing recorded) for an
// empty move or an edit without its parts.
bool ApplyMove(const BoardEdit& edit, const Move& move);
// Undoes the last step; false when there is none. *cell receives the step's cell as
// History::Undo gives it.
bool UndoMove(const BoardEdit& edit, CellRef* cell);
// Redoes the last undone step; false when there is none.
bool RedoMove(const BoardEdit& edit, CellRef* cell);

// Mouse play alone, without notes or history: the picked value goes into the cell.
void PutValue(SudokuBoard& board, int row, int column, int value);

// The moves the play screen makes, each made and applied at once.
void WriteCellValue(const BoardEdit& edit, int row, int column, int value);
void ToggleNote(const BoardEdit& edit, int row, int column, int value);
void FillCandidates(const BoardEdit& edit);
