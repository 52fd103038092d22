// Logic engine: the steps a person takes to solve a grid, easiest first. Owns the
// candidates state (LogicGrid: the values on the board and, per empty cell, the values
// still possible there), the search for the next step (FindNextStep), applying a step,
// and grading a puzzle by solving it with steps alone (SolveBySteps, GradeQuickly).
//
// Techniques, easiest first: naked single; hidden single (box, row, column); locked
// candidates (pointing and claiming); naked and hidden pairs, then triples, then quads;
// X-wing, swordfish, jellyfish; XY-wing, XYZ-wing. None assumes a unique solution, so
// every step holds on any grid: a placement is the value every completion of the grid
// has in that cell, an elimination takes out a value that no completion has there. On a
// grid without completion the steps are vacuously right; the engine still ends, and
// reports a contradiction once it sees one (a clash, an empty cell with no candidate,
// a value with no place left in a unit).
//
// Box sizes 2 to 5 (4 x 4 to 25 x 25). A cell is numbered row * N + column, where
// row is the first index of the board's grids (the line of the value block in the
// saved-game file) and column the second. Candidates are bit masks, bit v-1 for value
// v. The grid state is a fixed-size value: copying it allocates nothing, and the
// search reuses the vectors of the step it fills. Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/grid.h"

constexpr std::int32_t kLogicMinBoxSize = 2;
constexpr std::int32_t kLogicMaxBoxSize = 5;
constexpr std::int32_t kLogicMaxCells = 625;

// In order of difficulty; the grade of a puzzle is the hardest one it needs.
enum class Technique : std::uint8_t {
    NakedSingle,
    HiddenSingle,
    LockedCandidates,
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    NakedQuad,
    HiddenQuad,
    XWing,
    Swordfish,
    Jellyfish,
    XYWing,
    XYZWing,
};
constexpr std::int32_t kTechniqueCount = 14;

// "naked-single", "hidden-single", "locked-candidates", "naked-pair", ... "xyz-wing".
const char* TechniqueName(Technique technique);
// "Naked single", "Hidden single", ... "XYZ-wing": the technique in a sentence.
const char* TechniqueTitle(Technique technique);

struct LogicUnit {
    UnitKind kind = UnitKind::Row;
    std::int32_t index = 0;  // 0..N-1; boxes counted row by row
    bool operator==(const LogicUnit& other) const { return kind == other.kind && index == other.index; }
};

struct Elimination {
    std::int32_t cell = 0;
    std::int32_t value = 0;  // 1..N
    bool operator==(const Elimination& other) const { return cell == other.cell && value == other.value; }
};

// One step: what it is, what it looks at (for a hint to mark) and what follows from it.
struct LogicStep {
    Technique technique = Technique::NakedSingle;
    std::vector<LogicUnit> units;           // the units the step reasons about
    std::vector<std::int32_t> cells;        // the cells of its pattern (a single: the cell placed)
    std::uint32_t values = 0;               // the values of its pattern, bit v-1
    std::int32_t placeCell = -1;            // a placement: its cell, else -1
    std::int32_t placeValue = 0;            // and its value
    std::vector<Elimination> eliminations;  // else these, by cell then value; never empty

    bool IsPlacement() const { return placeCell >= 0; }
};

// The values of a grid and the candidates of its empty cells.
class LogicGrid {
public:
    // From the board's values (0 = empty): each empty cell gets the values its row,
    // column and box leave. False for a box size outside 2..5, a grid of another shape
    // or a value outside 0..N; a clash loads and is reported by HasClash.
    bool Load(const Grid& values, std::int32_t boxSize);

    std::int32_t BoxSize() const { return boxSize_; }
    std::int32_t Size() const { return n_; }
    std::int32_t CellCount() const { return n_ * n_; }
    std::int32_t Value(std::int32_t cell) const { return values_[cell]; }
    // The candidates of an empty cell; 0 for a filled one.
    std::uint32_t Candidates(std::int32_t cell) const { return candidates_[cell]; }
    std::int32_t EmptyCells() const { return empty_; }
    // Two equal values in a row, column or box of the loaded values, or a value placed
    // that was no candidate of its cell: the grid has no completion.
    bool HasClash() const { return clash_; }

    // Writes value into an empty cell and takes it from the candidates of its peers.
    void Place(std::int32_t cell, std::int32_t value);
    // Takes a value from an empty cell's candidates; true when it was there.
    bool Eliminate(std::int32_t cell, std::int32_t value);
    void Apply(const LogicStep& step);
    Grid Values() const;

    // The i-th cell (0..N-1) of unit u: rows are units 0..N-1, columns N..2N-1, boxes 2N..3N-1.
    std::int32_t UnitCell(std::int32_t unit, std::int32_t i) const {
        if (unit < n_) return unit * n_ + i;
        if (unit < 2 * n_) return i * n_ + (unit - n_);
        const std::int32_t box = unit - 2 * n_;
        return (box / boxSize_ * boxSize_ + i / boxSize_) * n_ + box % boxSize_ * boxSize_ + i % boxSize_;
    }
    std::int32_t RowOf(std::int32_t cell) const { return cell / n_; }
    std::int32_t ColumnOf(std::int32_t cell) const { return cell % n_; }
    std::int32_t BoxOf(std::int32_t cell) const {
        return (cell / n_) / boxSize_ * boxSize_ + (cell % n_) / boxSize_;
    }
    // Different cells that share a row, a column or a box.
    bool Sees(std::int32_t a, std::int32_t b) const {
        return a != b && (RowOf(a) == RowOf(b) || ColumnOf(a) == ColumnOf(b) || BoxOf(a) == BoxOf(b));
    }

private:
    std::int32_t boxSize_ = 0;
    std::int32_t n_ = 0;
    std::int32_t empty_ = 0;
    bool clash_ = false;
    std::array<std::uint32_t, kLogicMaxCells> candidates_{};
    std::array<std::uint8_t, kLogicMaxCells> values_{};
};

enum class StepSearch { Found, None, Contradiction };

// The easiest step of techniques up to `hardest`, written into step (its vectors are
// reused). Contradiction when the grid has a clash, an empty cell without candidates or
// a value without a place in a unit; None when the grid is full or nothing applies.
StepSearch FindNextStep(const LogicGrid& grid, LogicStep& step, Technique hardest = Technique::XYZWing);

enum class LogicOutcome { Solved, Stuck, Contradiction };

struct LogicGrade {
    LogicOutcome outcome = LogicOutcome::Stuck;
    Technique hardest = Technique::NakedSingle;          // of the steps taken; meaningless without steps
    std::array<std::int32_t, kTechniqueCount> counts{};  // steps per technique
    std::int32_t steps = 0;
    std::int32_t emptyLeft = 0;  // empty cells when it stopped
};

// Takes the easiest step (up to `hardest`) until the grid is full, nothing applies or
// a contradiction shows; the grid is left where it stopped.
LogicGrade SolveBySteps(LogicGrid& grid, Technique hardest = Technique::XYZWing);

// On a grid that has a completion, the same outcome and hardest technique as
// SolveBySteps, faster: singles are taken in
// batches rather than one step at a time, so counts and steps are not kept. For the
// generator, which grades a puzzle for every given it tries to take away.
LogicGrade GradeQuickly(LogicGrid& grid, Technique hardest = Technique::XYZWing);

// "r3c12" for a cell of an N x N grid: row and column counted from 1.
std::string CellName(std::int32_t cell, std::int32_t n);
// "<technique>: <what>": one placement "r3c12=7", or eliminations "r3c12-7 r4c1-7".
std::string StepText(const LogicStep& step, std::int32_t n);
