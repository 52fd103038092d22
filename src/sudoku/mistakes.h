// Mistakes: the player's values that no completion of the puzzle's givens has in their
// cell, and, on a grid that can no longer be finished, the fewest of the player's values
// whose removal makes it finishable again. Both are built on the completion check
// (completion.h) run in slices, so a caller on a worker can give up between two slices,
// and each check has a node budget: a value no check could settle is never called a
// mistake, and a removal set is reported only once a check proved the grid it leaves
// finishable. Standard library only; owns nothing beyond its copies.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/completion.h"

// Asked between two slices of a check: true once the caller no longer needs the answer.
using StopAsked = std::function<bool()>;

struct MistakeLimits {
    std::uint64_t nodesPerCheck = 40000;  // one completion check
    std::uint64_t totalNodes = 1500000;   // all the checks of one call
};

struct MistakeQuery {
    Grid givens;  // [row][column], 0 = not given
    Grid values;  // givens and the player's values
    std::int32_t boxSize = 0;
    // The givens have one completion: it is found once, and every player's value that
    // differs from it is a mistake without a check of its own.
    bool oneSolution = false;
    Grid solution;  // that completion when the caller knows it already; else empty
};

struct MistakeReport {
    std::vector<std::int32_t> wrong;  // cells (row * N + column) whose value is proven wrong
    Grid solution;                    // a one-solution puzzle's solution, once found
    bool stopped = false;             // the caller asked to stop: the report is not whole
};

MistakeReport FindMistakes(const MistakeQuery& query, const StopAsked& stop,
                           const MistakeLimits& limits = {});

struct TakeOutQuery {
    Grid givens;
    Grid values;
    std::int32_t boxSize = 0;
    // The player's values, newest first (cells as row * N + column); only these are taken out.
    std::vector<std::int32_t> newestFirst;
};

struct TakeOutReport {
    std::vector<std::int32_t> cells;  // the values to take out; empty when none was found
    bool stopped = false;
};

// One value whose removal leaves a finishable grid, newest first; else the set a sweep
// from the newest value on finds, cut down to the values it cannot do without.
TakeOutReport FindValuesToTakeOut(const TakeOutQuery& query, const StopAsked& stop,
                                  const MistakeLimits& limits = {});
