// sudoku-gen's benchmarks (see sudoku_gen.cpp for the command lines). Each runs over
// the seeds firstSeed, firstSeed + 1, ... (wrapping modulo 2^32), prints the spread of
// what it measures on standard output and returns the exit status: 0, or 1 when a
// puzzle cannot be made. Times are wall clock (and, for the completion check, the
// process's processor time too); everything else is the same for the same seeds.
#pragma once

#include <cstdint>

// The classic generator: time and Solve entries per game, and how many restarted.
int RunBench(std::uint32_t games, std::uint32_t firstSeed, std::int32_t level);

// The completion check on Hard games with random allowed moves: time, nodes and the
// longest single node per check, and the verdicts.
int RunCheckBench(std::uint32_t positions, std::uint32_t firstSeed);

// The logic generator: time, givens and grids per puzzle, the hardest techniques, and
// how many are unique (by the solution counter) and graded as the level asks.
int RunLogicBench(std::uint32_t puzzles, std::uint32_t firstSeed, std::int32_t level);
