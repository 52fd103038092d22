// What a hint says, in the player's view of the board. The board view draws the
// board's first index (its row) from left to right, so a row of the board is a
// column on screen and a column of the board a row on screen: the texts name rows
// top to bottom, columns left to right and boxes 1-16 left to right, then top to
// bottom, as the player sees them. A hint that teaches speaks twice: the first press
// names the step and where it looks ("Hidden single in box 6: one value has only one
// place"), the second says what follows ("C can only go here"). Owns nothing;
// builds strings (on the hint's worker thread).
#pragma once

#include <cstdint>
#include <string>

#include "sudoku/logic/logic.h"
#include "sudoku/logic/next_hint.h"

struct HintTexts {
    std::string first;   // the first press: the step and where it looks
    std::string second;  // the second press: what follows from it
    std::string values;  // the value placed, or the values taken out ("3 and 7")
};

// "row 5", "column 12" or "box 6" on screen, for a unit of a board of this box size.
std::string ScreenUnitName(const LogicUnit& unit, std::int32_t boxSize);
// "row 5, column 12" on screen, for a cell (board row * N + board column).
std::string ScreenCellName(std::int32_t cell, std::int32_t n);
// The screen's box number (1..N) of a board box index (0..N-1).
std::int32_t ScreenBoxNumber(std::int32_t boardBox, std::int32_t boxSize);
// "7", "3 and 7", "3, 7 and C" (values 10-16 as A-G).
std::string ValuesText(std::uint32_t values);

// The texts of an answer of kind Step or Values on a board of this box size; empty
// texts for the other kinds. On a puzzle of many solutions, where logic stalls, the
// first press of Values says so and where the one-solution puzzles are.
HintTexts DescribeHint(const HintAnswer& answer, std::int32_t boxSize, bool manySolutions = false);
