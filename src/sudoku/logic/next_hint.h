// The search behind a hint: what the next hint on a grid tells. First the logic
// engine's easiest step (logic.h) on the grid's values with the eliminations earlier
// hints made still applied (each was true of fewer values, so it stays true as values
// are added). When no technique applies (common on the classic puzzles, which have
// many solutions) it picks one empty cell (the one the player points at, else the one
// with the fewest candidates) and runs one completion check (completion.h) per
// candidate value of it (each with a budget of its own), to tell which values keep the
// grid finishable; a value whose check runs out of budget is left out. Slow enough on
// a 16 x 16 grid to belong on a worker thread: the caller's stop test is asked
// between two slices of a check. Nothing is shared between calls. The answer's value
// masks are those of bit_masks.h (LowestValue reads one). Standard library only.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "sudoku/bit_masks.h"
#include "sudoku/board.h"
#include "sudoku/logic/logic.h"

struct HintQuery {
    Grid values;  // [row][column], 0 = empty
    std::int32_t boxSize = 0;
    std::vector<Elimination> eliminated;  // taken out by earlier hints on these values or fewer
    std::int32_t focusCell = -1;          // row * N + column of the cell the player points at; -1 for none
};

enum class HintKind : std::uint8_t {
    Step,           // step holds the engine's next step
    Values,         // no technique applies: cell and the values that keep it finishable
    Contradiction,  // the grid has no completion (a clash, a cell or a value without a place)
    Stopped,        // stopped from outside, or a grid it cannot read
};

struct HintAnswer {
    HintKind kind = HintKind::Stopped;
    LogicStep step;
    std::int32_t cell = -1;        // Values: row * N + column
    std::uint32_t finishable = 0;  // Values: bit v-1 when the grid with v in cell can be finished
    std::uint32_t unsettled = 0;   // Values: bit v-1 when the check of v ran out of its budget
};

// The answer for the query; stop (when given) is asked between slices of work and
// ends it with Stopped.
HintAnswer FindHint(const HintQuery& query, const std::function<bool()>& stop = {});
