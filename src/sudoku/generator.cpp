// Random source, bounded randomised backtracking and puzzle generation.
#include "sudoku/generator.h"

#include <cmath>
#include <ctime>
#include <limits>

#include "sudoku/grid.h"
#include "sudoku/levels.h"

namespace {

constexpr std::int32_t kBoardSize = kBoardSide;

std::uint32_t ClockSeed() {
    // Low 32 bits of the calendar time in seconds.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::time(nullptr)));
}

// The program's one random source; dynamic initialisation seeds it at program start.
std::uint32_t randomState = ClockSeed();

// One attempt of the randomised depth-first search over the cells in index order
// (row = k mod N, column = k div N). Each level's candidates come from masks of the
// values already standing in its row, column and box: the cells after k are still
// empty and the cell itself is empty on entry, so the masks give exactly the flags of
// the three placement tests, and the draws, and so the grid, are the same.
class BoundedSearch {
public:
    BoundedSearch(SudokuBoard& board, const GridUnits& units, std::uint64_t limit)
        : board_(board),
          units_(units),
          n_(board.size),
          allValues_((1u << board.size) - 1u),
          limit_(limit),
          rowUsed_(static_cast<std::size_t>(board.size), 0u),
          columnUsed_(static_cast<std::size_t>(board.size), 0u),
          boxUsed_(static_cast<std::size_t>(board.size), 0u) {}

    bool Solve(int k) {
        if (entries_ == limit_) {  // this entry would exceed the limit
            abandoned_ = true;
            return false;
        }
        ++entries_;
        if (k == n_ * n_) return true;
        const int row = k % n_;
        const int column = k / n_;
        const int box = units_.BoxOf(row * n_ + column);
        std::uint32_t flags = allValues_ & ~(rowUsed_[row] | columnUsed_[column] | boxUsed_[box]);
        int& cell = board_.values[row][column];
        for (;;) {
            if (flags == 0) {
                cell = 0;
                return false;
            }
            int v = RandomInt(0, n_ - 1);
            while (((flags >> v) & 1u) == 0) v = RandomInt(0, n_ - 1);
            const std::uint32_t bit = 1u << v;
            flags &= ~bit;
            cell = v + 1;
            rowUsed_[row] |= bit;
            columnUsed_[column] |= bit;
            boxUsed_[box] |= bit;
            if (Solve(k + 1)) return true;
            rowUsed_[row] &= ~bit;
            columnUsed_[column] &= ~bit;
            boxUsed_[box] &= ~bit;
            if (abandoned_) return false;
        }
    }

    bool Abandoned() const { return abandoned_; }
    std::uint64_t Entries() const { return entries_; }

private:
    SudokuBoard& board_;
    const GridUnits& units_;
    const int n_;
    const std::uint32_t allValues_;
    const std::uint64_t limit_;
    std::uint64_t entries_ = 0;
    bool abandoned_ = false;
    std::vector<std::uint32_t> rowUsed_;
    std::vector<std::uint32_t> columnUsed_;
    std::vector<std::uint32_t> boxUsed_;
};

void ClearGrid(Grid& grid, std::int32_t n) {
    grid.assign(static_cast<std::size_t>(n), std::vector<std::int32_t>(static_cast<std::size_t>(n), 0));
}

// Empties random cells, row drawn before column, until `clues` cells are left.
void EmptyCells(SudokuBoard& board, std::int32_t clues) {
    const std::int32_t n = board.size;
    for (std::int32_t left = n * n - clues; left > 0; --left) {
        for (;;) {
            const std::int32_t row = RandomInt(0, n - 1);
            const std::int32_t column = RandomInt(0, n - 1);
            if (board.values[row][column] == 0) continue;
            board.values[row][column] = 0;
            break;
        }
    }
}

}  // namespace

void SeedRandom(std::uint32_t seed) {
    randomState = seed;
}

std::int32_t RandomDraw() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<std::int32_t>((randomState >> 16) & 0x7FFFu);
}

std::int32_t ScaleDraw(std::int32_t draw, std::int32_t low, std::int32_t high) {
    const std::int32_t lo = low < high ? low : high;
    const std::int32_t hi = low < high ? high : low;
    const double span = static_cast<double>(hi) - static_cast<double>(lo) + 0.9999;
    return lo + static_cast<std::int32_t>(static_cast<double>(draw) / 32767.0 * span);
}

std::int32_t RandomInt(std::int32_t low, std::int32_t high) {
    return ScaleDraw(RandomDraw(), low, high);
}

bool SolveWithRestarts(SudokuBoard& board, const GenerationLimits& limits, GenerationStats& stats) {
    const std::int32_t n = board.size;
    const GridUnits* units = GridUnits::OfBoxSide(board.boxSize);  // at most 25 x 25
    if (units == nullptr || units->Side() != n) return false;
    std::uint64_t limit = limits.firstSolveLimit > 0 ? limits.firstSolveLimit : 1;
    for (;;) {
        ClearGrid(board.values, n);
        BoundedSearch search(board, *units, limit);
        ++stats.attempts;
        const bool solved = search.Solve(0);
        stats.solveCalls += search.Entries();
        if (solved) return true;
        if (!search.Abandoned()) return false;  // the whole search ran out of values
        limit = limit <= std::numeric_limits<std::uint64_t>::max() / 2
                    ? limit * 2
                    : std::numeric_limits<std::uint64_t>::max();
    }
}

bool Generate(SudokuBoard& board, const GenerationLimits& limits, GenerationStats& stats) {
    if (!SolveWithRestarts(board, limits, stats)) return false;
    const std::int32_t clues = ClueCount(board.difficulty);
    if (clues <= 0 || clues > board.size * board.size) return false;
    EmptyCells(board, clues);
    board.givens = board.values;
    return true;
}

bool NewGame(SudokuBoard& board, std::int32_t level, const GenerationLimits& limits, GenerationStats& stats) {
    if (!IsClassicLevel(level)) return false;
    board.difficulty = static_cast<Difficulty>(level);
    board.size = kBoardSize;
    board.boxSize = static_cast<std::int32_t>(std::sqrt(static_cast<double>(kBoardSize)));
    if (static_cast<double>(board.boxSize) * board.boxSize != static_cast<double>(kBoardSize)) return false;
    ClearGrid(board.values, kBoardSize);
    ClearGrid(board.givens, kBoardSize);
    return Generate(board, limits, stats);
}

bool SudokuBoard::NewGame(std::int32_t level) {
    GenerationStats stats;
    return ::NewGame(*this, level, GenerationLimits{}, stats);
}
