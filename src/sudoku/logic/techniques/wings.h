// Wings: a pivot cell and two pincer cells it sees, with two or three candidates each,
// arranged so that one of them must be a value z; a cell that sees all the cells that
// could be z cannot be z. XY-wing: pivot {x, y}, pincers {x, z} and {y, z}. XYZ-wing:
// pivot {x, y, z}, pincers {x, z} and {y, z}. Standard library only.
#pragma once

#include "sudoku/logic/techniques/finder.h"

// The first wing by pivot, then first pincer, then second pincer, in cell order.
bool FindXYWing(const SearchGrid& search, LogicStep& step);
bool FindXYZWing(const SearchGrid& search, LogicStep& step);
