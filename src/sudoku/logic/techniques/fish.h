// Fish: when a value's places in k rows (the base lines) lie in just k columns (the
// cover lines), each base row takes the value in one of those columns, so the columns
// have it nowhere else; likewise with columns as base lines (X-wing for k = 2,
// swordfish 3, jellyfish 4). Standard library only.
#pragma once

#include "sudoku/logic/techniques/finder.h"

// The first fish of `size` (2 to 4) lines, by value, rows as base lines before columns.
bool FindFish(const SearchGrid& search, std::int32_t size, LogicStep& step);
