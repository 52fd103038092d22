// Notes (pencil marks) and every edit of the board the play screen makes. An
// empty cell that is not a given holds any set of the values 1-16 as notes; a
// cell holding a value holds none. Each edit is one undo step in the history,
// with all the cells it touched: writing a value also clears the cell's notes
// and takes the value out of the notes of its row, column and box; emptying a
// cell brings nothing back (undo does); filling fills every empty non-given cell
// with the values its row, column and box allow. The notes are drawn with the
// small notes font in a 4 x 4 layout inside their cell (1-4 on the top row ...
// D-G on the bottom row). Owns nothing: the board, notes and history belong to
// the caller.
#pragma once

#include <cstdint>

#include "gfx/font.h"
#include "gfx/palette.h"
#include "play/view/board_view.h"
#include "play/session/history.h"
#include "save/game_state.h"
#include "sudoku/board.h"

constexpr float NotesSlot = 7.0f;   // a note's square in the 4 x 4 layout
constexpr float NotesInset = 1.0f;  // the layout's distance from the cell's edge

// What an edit works on; none owned.
struct BoardEdit {
    SudokuBoard* board = nullptr;
    NotesGrid* notes = nullptr;
    History* history = nullptr;
};

// The bit of value v (1..16) in a cell's notes; 0 for any other v.
CellNotes NoteBit(int value);
// An empty, non-given cell on the board: the only kind that holds notes.
bool CanHoldNotes(const SudokuBoard& board, int row, int column);
// Writes value (0 empties) into a non-given cell; one step with the notes it clears.
// Nothing happens (and no step) when the value does not change.
void WriteCellValue(const BoardEdit& edit, int row, int column, int value);
// Switches note value (1..16) of a cell that can hold notes; one step.
void ToggleNote(const BoardEdit& edit, int row, int column, int value);
// Gives every cell that can hold notes the values its row, column and box allow; one
// step with every cell whose notes changed (none when nothing changed).
void FillCandidates(const BoardEdit& edit);
// Draws a cell's notes with the notes font in the palette's note colour; nothing for a cell holding a value.
void DrawCellNotes(gkFont& font, const Cell& cell, CellNotes notes,
                   const Palette& palette = ClassicPalette());
