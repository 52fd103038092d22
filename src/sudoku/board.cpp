// Board queries: the three placement tests, candidates, the value setter and the
// completion tests. The placement tests only compare integers; they allocate nothing.
#include "sudoku/board.h"

bool HasShape(const Grid& grid, std::int32_t n) {
    if (grid.size() != static_cast<std::size_t>(n)) return false;
    for (const auto& line : grid) {
        if (line.size() != static_cast<std::size_t>(n)) return false;
    }
    return true;
}

bool SudokuBoard::RowAllows(int row, int column, int value) const {
    const auto& line = values[row];
    for (int c = 0; c < size; ++c) {
        if (c != column && line[c] == value) return false;
    }
    return true;
}

bool SudokuBoard::ColumnAllows(int row, int column, int value) const {
    for (int r = 0; r < size; ++r) {
        if (r != row && values[r][column] == value) return false;
    }
    return true;
}

bool SudokuBoard::BoxAllows(int row, int column, int value) const {
    if (boxSize <= 0) return true;  // no boxes on a board without a size
    const int firstRow = (row / boxSize) * boxSize;
    const int firstColumn = (column / boxSize) * boxSize;
    for (int r = firstRow; r < firstRow + boxSize; ++r) {
        for (int c = firstColumn; c < firstColumn + boxSize; ++c) {
            if ((r != row || c != column) && values[r][c] == value) return false;
        }
    }
    return true;
}

bool SudokuBoard::IsAllowed(int row, int column, int value) const {
    return RowAllows(row, column, value) && ColumnAllows(row, column, value) && BoxAllows(row, column, value);
}

std::vector<bool> SudokuBoard::Candidates(int row, int column) const {
    std::vector<bool> flags(static_cast<std::size_t>(size > 0 ? size : 0), false);
    for (int v = 1; v <= size; ++v) flags[v - 1] = IsAllowed(row, column, v);
    return flags;
}

bool SudokuBoard::IsGiven(int row, int column) const {
    return givens[row][column] != 0;
}

bool SudokuBoard::Contains(int row, int column) const {
    if (row < 0 || row >= size || column < 0 || column >= size) return false;
    const auto r = static_cast<std::size_t>(row), c = static_cast<std::size_t>(column);
    return r < values.size() && r < givens.size() && c < values[r].size() && c < givens[r].size();
}

bool SudokuBoard::Clashes(int row, int column) const {
    if (!Contains(row, column)) return false;
    const int value = values[row][column];
    return value != 0 && givens[row][column] == 0 && !IsAllowed(row, column, value);
}

void SudokuBoard::SetValue(int row, int column, int value) {
    if (value < 0 || value > size || !Contains(row, column)) return;
    if (givens[row][column] == 0) values[row][column] = value;
}

bool SudokuBoard::IsComplete() const {
    if (size <= 0) return true;  // no cells
    if (!HasShape(values, size)) return false;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            const int v = values[r][c];
            if (v < 1 || v > size || !IsAllowed(r, c, v)) return false;
        }
    }
    return true;
}

bool SudokuBoard::HasUnfinishedGame() const {
    if (size <= 0) return false;
    const double box = boxSize;
    if (box * box != static_cast<double>(size)) return false;
    if (values.size() != static_cast<std::size_t>(size)) return false;
    return !IsComplete();
}
