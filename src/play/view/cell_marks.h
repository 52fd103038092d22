// Marks the play aids draw on cells, all as untextured shapes (gfx/shapes.h) in the
// palette's colours: the same-value tint (a light lavender square drawn between a
// cell's face and its value), the clash mark (a red triangle in a cell's top-right
// corner, seen by its shape where the red of the value is hard to tell from black),
// the mistake mark (a purple bar across the foot of a cell whose value is proven
// wrong, a shape of its own) and the keyboard cell's 2-pixel outline, and where the play aids put them. The
// tint is kept apart from the amber hover face, the outline from the hover face, the clash red, the given
// blue and the tint, also for red-green colour-blind eyes. Owns nothing; draws only.
#pragma once

#include <cstdint>

#include "engine/gk.h"
#include "gfx/palette.h"
#include "play/session/play_aids.h"
#include "play/view/board_view.h"
#include "sudoku/board.h"

constexpr float SameValueTintInset = 2.0f;
constexpr float ClashMarkSize = 10.0f;
constexpr float KeyboardCellLine = 2.0f;
// The mistake mark: a bar across the foot of the cell, inside the keyboard frame.
constexpr float MistakeBarHeight = 3.0f, MistakeBarInset = 5.0f;

void DrawSameValueTint(GK& gk, const Cell& cell, const Palette& palette);
void DrawClashMark(GK& gk, const Cell& cell, const Palette& palette);
void DrawKeyboardOutline(GK& gk, const Cell& cell, const Palette& palette);
void DrawMistakeMark(GK& gk, const Cell& cell, const Palette& palette);

// The value the same-value tint marks this frame, 0 for none.
int TintedValue(const PlayAids& aids, const SudokuBoard& board);
// Drawn between a cell's face and its value: a hint's marks, then the tint, on cells
// other than the focus cell that hold tintedValue.
void DrawUnderCellValue(GK& gk, const PlayAids& aids, const Cell& cell, int tintedValue,
                        const Palette& palette);
// Drawn after all cells: the clash marks (when switched on, or always in the palette's
// theme), a hint's marks from its
// second press, and the keyboard cell's outline.
void DrawOverCells(GK& gk, const PlayAids& aids, const BoardView& view, const SudokuBoard& board,
                   const Palette& palette);
