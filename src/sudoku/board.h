// SudokuBoard: the game's one board. Holds the side length, the box size, the
// current value of every cell, the values the puzzle gave, the level of the last
// puzzle made, and the folder of the saved game; answers the placement rules,
// the completion test and the unfinished-game test. The generator (generator.h)
// fills it and the saved-game file (save/save.h) writes and restores it.
// Standard library only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sudoku/levels.h"

using Grid = std::vector<std::vector<std::int32_t>>;

// True when grid has exactly n rows of n entries.
bool HasShape(const Grid& grid, std::int32_t n);

class SudokuBoard {
public:
    std::int32_t size = 0;     // N; 16 for every game the program makes, 0 until one exists
    std::int32_t boxSize = 0;  // B = integer part of sqrt(N)
    Grid values;               // [row][column], 0 = empty
    Grid givens;               // [row][column], 0 = not given
    std::int32_t difficulty = Medium;
    std::string directory;     // folder of the saved game, with its trailing separator; empty = current

    // Placement tests: true when no other cell of the row / column / box holds value.
    bool RowAllows(int row, int column, int value) const;
    bool ColumnAllows(int row, int column, int value) const;
    bool BoxAllows(int row, int column, int value) const;
    bool IsAllowed(int row, int column, int value) const;
    // Flag v-1 set when IsAllowed(row, column, v), for v = 1..N.
    std::vector<bool> Candidates(int row, int column) const;
    bool IsGiven(int row, int column) const;
    // True when (row, column) lies inside the board and both its grids (their shape
    // disagrees with size only on a damaged board).
    bool Contains(int row, int column) const;
    // A cell that is not a given holding a value a peer also holds; false outside the board.
    bool Clashes(int row, int column) const;
    // Ignores an index outside the board, a value outside 0..N and a given cell.
    void SetValue(int row, int column, int value);
    bool IsComplete() const;
    bool HasUnfinishedGame() const;

    // New puzzle at a level (generator.cpp).
    bool NewGame(std::int32_t level);
    // Saved game (save/save.cpp): the path is directory followed directly by name.
    void Save(const std::string& name) const;
    bool Load(const std::string& name);
};
