// Intersections of a box with a row or column (locked candidates): when a value's places
// in a box all lie in one line, the value leaves the rest of that line (pointing); when
// its places in a line all lie in one box, it leaves the rest of that box (claiming).
// Standard library only.
#pragma once

#include "sudoku/logic/techniques/finder.h"

// Pointing first, by value and box; then claiming, by value and line.
bool FindLockedCandidates(const SearchGrid& search, LogicStep& step);
