// Singles: a cell with one candidate left takes it (naked single); a value with one
// place left in a box, row or column goes there (hidden single). The finders take the
// first in scan order; PlaceSingles places them all at once for the quick grading.
// Standard library only.
#pragma once

#include "sudoku/logic/techniques/finder.h"

// The first empty cell, in cell order, with a single candidate.
bool FindNakedSingle(const SearchGrid& search, LogicStep& step);
// The first value, in the first unit in scan order, with a single place there.
bool FindHiddenSingle(const SearchGrid& search, LogicStep& step);

// Places every naked single, then every hidden single, as long as there are any.
// False on a contradiction; `hardest` grows to the single kind used.
bool PlaceSingles(LogicGrid& grid, Technique& hardest);
