// Completion check: can the current grid still be finished? For a board of box size
// B (N = B * B values, B from 1 to 5) whose values (givens and the player's, all kept
// fixed) are given, it answers Completable with one clash-free full grid containing
// them, DeadEnd when no such grid exists, or Unknown when its node budget ran out.
// A grid with a clash, a value outside 0..N or rows of the wrong length is a dead end
// at once; a box size outside 1..5 answers Unknown.
//
// The search keeps a bit mask of candidates per cell and propagates naked singles (a
// cell with one candidate), hidden singles (a value with one place in a row, column or
// box) and box-line interplay (a value confined to one line of a box, or to one box of
// a line). It branches depth-first on the cell with the fewest candidates, in runs
// restarted with growing node limits (100, 200, 400 ...) and a random value order, so
// that no run stays lost in an empty subtree. Once the runs have spent a few hundred
// nodes, probing of the root takes turns with them: each value of each cell is placed
// in a copy, and one that propagation refutes is struck from the root; this settles
// the dead ends whose proof would need a large tree. The random source is the
// search's own, seeded from the limits, so a result is reproducible. Nothing is
// shared between searches: each may run on its own thread. Independent of the
// generator's search. Standard library only.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/grid.h"

enum class Completion { Completable, DeadEnd, Unknown };

struct CompletionLimits {
    // Nodes the whole check may spend (a node is one value tried in one cell);
    // 0 answers only what propagation settles.
    std::uint64_t nodeBudget = 500000;
    // Nodes of the first run; each restart doubles it.
    std::uint64_t firstRunNodes = 100;
    // Nodes the runs may spend before probing of the root begins; from then on each
    // run is preceded by as many probes as the run before it had nodes, until a pass
    // over the root strikes nothing. Each probe counts as a node.
    std::uint64_t probeAfterNodes = 300;
    // Seed of the search's own random source.
    std::uint64_t seed = 1;
    // When set, CheckCompletion looks at it between nodes and gives up (Unknown) once
    // it is true: another thread no longer needs the answer.
    const std::atomic<bool>* stop = nullptr;
};

struct CompletionResult {
    Completion verdict = Completion::Unknown;
    Grid completion;          // Completable: the full grid, [row][column]; else empty
    std::uint64_t nodes = 0;  // nodes spent: values tried in branches and in probes
    std::int32_t runs = 0;    // runs started (0 when propagation alone settled it)
};

// One check that can be run in slices: Advance spends at most a given number of
// nodes, so a caller may spread the work over several frames or drop a check whose
// board has changed. The constructor copies the values and propagates (no branching);
// Result() is final once Finished(). A node costs a few microseconds on a 16 x 16 grid.
class CompletionSearch {
public:
    CompletionSearch(const Grid& values, std::int32_t boxSize, const CompletionLimits& limits = {});

    // Spends at most `nodes` more nodes; true once Result() holds the final answer.
    bool Advance(std::uint64_t nodes);
    bool Finished() const { return finished_; }
    const CompletionResult& Result() const { return result_; }

private:
    struct Frame {
        std::int32_t cell;      // the cell branched on
        std::uint32_t untried;  // its values not tried yet
    };

    bool Setup(const Grid& values);
    void Touch(std::int32_t cell);
    bool Remove(std::uint32_t* state, std::int32_t cell, std::uint32_t values, bool& changed);
    bool Place(std::uint32_t* state);
    bool HiddenSingles(std::uint32_t* state, bool& found);
    bool LockedCandidates(std::uint32_t* state, bool& found);
    bool LockedInBand(std::uint32_t* state, std::int32_t band, bool columns, bool& found);
    bool Propagate(std::uint32_t* state);
    bool Fail();
    bool ChooseBranch(const std::uint32_t* state, Frame& frame);
    void StartRun();
    void EndRun();
    void Branch();
    void ProbeNext();
    std::uint32_t* State(std::size_t depth);
    std::uint32_t NextRandom();
    void Finish(Completion verdict, const std::uint32_t* state);

    std::int32_t n_ = 0;
    std::int32_t boxSize_ = 0;
    std::int32_t cells_ = 0;
    std::uint32_t allValues_ = 0;
    CompletionLimits limits_;
    const GridUnits* units_ = nullptr;   // the rows, columns and boxes, and where each cell lies
    std::vector<std::uint32_t> states_;  // one state of cells_ masks per search depth
    std::vector<std::int32_t> queue_;    // cells whose single candidate waits to be placed
    // Rows, columns, boxes, row bands and column bands changed since propagation last
    // looked at them (bit i: the i-th of its kind).
    std::uint32_t dirty_[5] = {0, 0, 0, 0, 0};
    std::vector<Frame> frames_;
    std::uint64_t random_ = 0;
    std::uint64_t runLimit_ = 0;
    std::uint64_t runNodes_ = 0;
    // Probing of the root: the cell under probe and its values not probed yet.
    bool probing_ = false;
    bool probed_ = false;
    bool probeChanged_ = false;
    std::int32_t probeCell_ = -1;
    std::uint32_t probeUntried_ = 0;
    std::uint64_t probeQuota_ = 0;  // probes left before the next run
    bool finished_ = false;
    CompletionResult result_;
};

// The whole check in one call (ended early, Unknown, by limits.stop).
CompletionResult CheckCompletion(const Grid& values, std::int32_t boxSize,
                                 const CompletionLimits& limits = {});
