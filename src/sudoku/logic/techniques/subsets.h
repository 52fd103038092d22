// Subsets of a unit: k cells that hold only k values between them keep those values
// from the unit's other cells (naked pair, triple, quad); k values that fit only in the
// same k cells keep those cells from any other value (hidden pair, triple, quad).
// Standard library only.
#pragma once

#include "sudoku/logic/techniques/finder.h"

// The first subset of `size` (2 to 4) cells or values, by unit in scan order.
bool FindNakedSubset(const SearchGrid& search, std::int32_t size, LogicStep& step);
bool FindHiddenSubset(const SearchGrid& search, std::int32_t size, LogicStep& step);
