// The notes (pencil marks) of a 16 x 16 game and one change of a cell as the undo
// history keeps it: the play screen edits them, the game.state file writes them.
// Standard library only.
#pragma once

#include <array>
#include <cstdint>

#include "sudoku/grid.h"
// The side of the grids below: every game the program makes is 16 x 16.
constexpr int NotesGridSide = kBoardSide;

// Notes of one cell: bit v-1 set when value v (1..16) is noted.
using CellNotes = std::uint16_t;
using NotesGrid = std::array<std::array<CellNotes, NotesGridSide>, NotesGridSide>;

// True when (row, column) indexes a NotesGrid.
constexpr bool InNotesGrid(int row, int column) {
    return row >= 0 && column >= 0 && row < NotesGridSide && column < NotesGridSide;
}

// One cell's change inside an undo step: its value and notes before and after.
// A step is a run of changes whose first one has firstOfStep set; a step is
// undone by restoring the "before" fields of its changes in reverse order and
// redone by applying the "after" fields in order.
struct CellChange {
    std::uint8_t row = 0;
    std::uint8_t column = 0;
    std::uint8_t valueBefore = 0;  // 0..16, 0 = empty
    std::uint8_t valueAfter = 0;
    CellNotes notesBefore = 0;
    CellNotes notesAfter = 0;
    bool firstOfStep = false;

    bool operator==(const CellChange& other) const {
        return row == other.row && column == other.column && valueBefore == other.valueBefore &&
               valueAfter == other.valueAfter && notesBefore == other.notesBefore &&
               notesAfter == other.notesAfter && firstOfStep == other.firstOfStep;
    }
};
