// Chains: links between candidates that carry a value's truth from one end to the
// other. A strong link joins two candidates of which at least one is true (the only two
// places of a value in a unit, the only two values of a cell, or a group of one box's
// cells on one line and what else holds the value in that line or box); a weak link
// joins two of which at most one is true (the same value in cells that see each other,
// two values of one cell). Each holds on every grid, whether it has one completion or
// many, so the steps do too.
//   Colour wrap: one value's strong links of one unit (conjugate pairs) make a cluster
//   in two colours, one of which is true throughout; two cells of one colour that see
//   each other rule that colour out. Colour trap: a cell that sees both colours is not
//   the value.
//   X-chain (one value), XY-chain (cells of two candidates, strong inside each cell) and
//   alternating inference chain (every link, grouped cells too): a chain that starts
//   and ends with a strong link and alternates makes one of its two ends true, so a
//   candidate that sees both ends is false.
// The shortest chain first (up to 16 candidates), among those equally short the one
// whose first end comes first by cell and value. Each step records its links.
// Standard library only.
#pragma once

#include "sudoku/logic/techniques/finder.h"

// The first cluster, by value and then cell, that wraps or traps.
bool FindColourWrap(const SearchGrid& search, LogicStep& step);
bool FindColourTrap(const SearchGrid& search, LogicStep& step);
// The shortest chain of each kind that takes a candidate out.
bool FindXChain(const SearchGrid& search, LogicStep& step);
bool FindXYChain(const SearchGrid& search, LogicStep& step);
bool FindAlternatingChain(const SearchGrid& search, LogicStep& step);
