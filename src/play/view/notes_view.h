// The notes (pencil marks) as the play screen draws them: with the small notes font in
// a 4 x 4 layout inside their cell (1-4 on the top row ... D-G on the bottom row), only
// in a cell without a value. What notes a cell holds, and every change of them, is the
// session's (play/session/move.h). Owns nothing.
#pragma once

#include <cstdint>

#include "gfx/font.h"
#include "gfx/palette.h"
#include "play/view/board_view.h"
#include "sudoku/cell_change.h"

constexpr float NotesSlot = 7.0f;   // a note's square in the 4 x 4 layout
constexpr float NotesInset = 1.0f;  // the layout's distance from the cell's edge

// Draws a cell's notes with the notes font in the palette's note colour; nothing for a cell holding a value.
void DrawCellNotes(gkFont& font, const Cell& cell, CellNotes notes, const Palette& palette);
