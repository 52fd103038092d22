// What a hint marks on the board, only after the player pressed H: from the first
// press a light yellow tint on the cells of the step's units (drawn under the values
// and notes); from the second an orange 3-pixel outline on the cells of its pattern,
// and its target in blue: a light blue fill on the cell a value goes into (with a blue
// frame inside the orange one) and on each cell a value leaves (with a blue bar across
// the place of that value's note). Yellow, orange and blue are told apart by red-green
// colour-blind eyes too, and by shape (tint, frame, fill with bars); none is the
// lavender of the same-value tint or the green of the keyboard cell's 2-pixel frame.
// The colours are the palette's hint roles. Owns the per-cell marks of one hint; draws only.
#pragma once

#include <array>
#include <cstdint>

#include "engine/gk.h"
#include "gfx/palette.h"
#include "play/view/board_view.h"
#include "sudoku/logic/next_hint.h"

constexpr float HintPatternLine = 3.0f;
constexpr float HintStruckHeight = 2.0f;

enum HintMark : std::uint8_t {
    HintMarkUnit = 1,     // in one of the step's units
    HintMarkPattern = 2,  // a cell of the step's pattern
    HintMarkPlace = 4,    // the cell a value goes into
    HintMarkStrike = 8,   // a cell values leave (struck holds them)
};

struct HintMarks {
    std::array<std::uint8_t, kBoardCellCount> flags{};    // per cell, by CellRef::Index
    std::array<std::uint16_t, kBoardCellCount> struck{};  // values leaving the cell, bit v-1

    std::uint8_t At(int row, int column) const {
        return flags[static_cast<std::size_t>(CellRef{row, column}.Index())];
    }
};

// The marks of an answer on a 16 x 16 board with these values (none for another size).
// A single's pattern is the cells that show why only its value fits: for a naked
// single the cells of its row, column and box that hold the other values, for a
// hidden single the cells holding its value that see the unit's other free cells.
HintMarks MarksOfHint(const HintAnswer& answer, const Grid& values, std::int32_t boxSize);

// Under a cell's value: the unit tint, and with detail the fill of the placed cell.
void DrawHintUnderCell(GK& gk, const HintMarks& marks, bool detailed, const Cell& cell,
                       const Palette& palette);
// Over all cells, with detail: the pattern outlines and the target marks.
void DrawHintOverCells(GK& gk, const HintMarks& marks, const BoardView& view, const Palette& palette);
