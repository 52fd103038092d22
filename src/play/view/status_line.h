// The status line under the board, one line in the menu font at a small scale: the
// level, the play time, the filled cells, the clashing cells and the hints used when
// there are any, "Notes" in note mode and where the help is; under it, a failed
// save's message while it stands, else the last message said there (a hint's, a
// copy's or paste's, a switch key's) while current, else the dead-end warning while
// the watch finds the grid cannot be finished; a switch key's message gives way to
// that warning. Also the level a loaded board was made at, told by its number of
// givens (the saved game does not keep the level). Text is put together in fixed
// buffers: drawing a frame allocates nothing. Where the lines stand is the layout's
// (layout.h). Owns nothing; draws only, and leaves the font at scale 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "play/session/play_aids.h"
#include "play/view/layout.h"
#include "play/view/value_picker.h"
#include "sudoku/board.h"

constexpr const char* DeadEndText = "Dead end: this grid can no longer be finished";

// The look of the status line and of the lines like it (the menus' lines, the best
// times): the status scale, in the palette's status colour or, for a warning, its warning colour.
inline TextStyle StatusTextStyle(const Palette& palette, bool warning = false) {
    return {StatusScale, warning ? palette.warning : palette.statusText};
}

// The level whose puzzles have this board's number of givens (the nearest at or below
// it); fallback for a board that is not a 16 x 16 game.
std::int32_t LevelOfGivens(const SudokuBoard& board, std::int32_t fallback);
// What the status line calls the puzzle: its level for a classic one, "Hard, by logic",
// "Pasted: one solution, Medium by logic", "Pasted: many solutions", "From a file: one
// solution" (a file named on the command line); into out, returns out.
const char* PuzzleName(const SudokuBoard& board, const PuzzleOrigin& origin, char* out, std::size_t size);
// Appends printf output at out + used, keeping used within size (a fixed buffer:
// putting a line together allocates nothing).
template <typename... Args>
void AppendText(char* out, std::size_t size, std::size_t& used, const char* format, Args... args) {
    if (used >= size) return;
    const int n = std::snprintf(out + used, size - used, format, args...);
    if (n > 0) used += static_cast<std::size_t>(n) < size - used ? static_cast<std::size_t>(n) : size - used - 1;
}
// m:ss, or h:mm:ss from an hour on, into out; returns out.
const char* FormatPlayTime(std::uint64_t seconds, char* out, std::size_t size);
// Cells holding a value, and non-given cells whose value clashes with a peer.
int FilledCells(const SudokuBoard& board);
int ClashingCells(const SudokuBoard& board);

// Either line is left out while the open picker's ring reaches where it would be drawn.
void DrawStatusLine(gkFont& font, const SudokuBoard& board, const PlayAids& aids, const ValuePicker* picker,
                    const Palette& palette);
// The second line's text, null for none; *warning, when given, tells whether it is a warning.
const char* StatusMessageText(const SudokuBoard& board, const PlayAids& aids, bool* warning = nullptr);
