// Completion check: candidate masks, propagation of naked singles, hidden singles and
// box-line interplay, a depth-first search on an explicit stack with restarts of
// growing length, and probing of the root's values once the runs take long.
#include "sudoku/completion.h"

#include <algorithm>
#include <limits>

#include "sudoku/bit_masks.h"
#include "sudoku/splitmix64.h"

namespace {

// Set in a cell's mask once its value is placed; the value is then the one other bit.
constexpr std::uint32_t kPlaced = 1u << 31;
constexpr std::int32_t kMaxBoxSize = kMaxTableBoxSide;  // N = 25 values still fit below kPlaced

std::uint64_t Doubled(std::uint64_t limit) {
    return limit <= std::numeric_limits<std::uint64_t>::max() / 2 ? limit * 2
                                                                    : std::numeric_limits<std::uint64_t>::max();
}

// The segments of a band of B lines and the values each segment must lose (see
// LockedInBand); returns the union of all removals. B is a compile-time constant so
// that the short loops over B unroll.
template <int B>
std::uint32_t BandRemovals(const std::uint32_t* first, std::int32_t lineStep, std::int32_t alongStep,
                           std::uint32_t (&segment)[kMaxBoxSize][kMaxBoxSize],
                           std::uint32_t (&removal)[kMaxBoxSize][kMaxBoxSize]) {
    for (int line = 0; line < B; ++line) {
        const std::uint32_t* cell = first + line * lineStep;
        for (int box = 0; box < B; ++box) {
            std::uint32_t candidates = 0;
            for (int j = 0; j < B; ++j, cell += alongStep) {
                const std::uint32_t m = *cell;
                candidates |= m & ((m >> 31) - 1u);  // nothing from a placed cell
            }
            segment[line][box] = candidates;
        }
    }
    // Values in two or more segments of a line, and of a box.
    std::uint32_t lineOnce[B] = {};
    std::uint32_t lineTwice[B] = {};
    std::uint32_t boxOnce[B] = {};
    std::uint32_t boxTwice[B] = {};
    for (int line = 0; line < B; ++line) {
        for (int box = 0; box < B; ++box) {
            const std::uint32_t m = segment[line][box];
            lineTwice[line] |= lineOnce[line] & m;
            lineOnce[line] |= m;
            boxTwice[box] |= boxOnce[box] & m;
            boxOnce[box] |= m;
            removal[line][box] = 0;
        }
    }
    std::uint32_t anyRemoval = 0;
    for (int line = 0; line < B; ++line) {
        for (int box = 0; box < B; ++box) {
            // Values in no other segment of the box must stay in this line: they leave
            // the line's other segments; values in no other segment of the line must stay
            // in this box: they leave the box's other segments.
            const std::uint32_t boxOnly = segment[line][box] & ~boxTwice[box];
            const std::uint32_t lineOnly = segment[line][box] & ~lineTwice[line];
            if ((boxOnly | lineOnly) == 0) continue;
            for (int k = 0; k < B; ++k) {
                if (k != box) removal[line][k] |= boxOnly;
                if (k != line) removal[k][box] |= lineOnly;
            }
            anyRemoval |= boxOnly | lineOnly;
        }
    }
    return anyRemoval;
}

}  // namespace

CompletionSearch::CompletionSearch(const Grid& values, std::int32_t boxSize, const CompletionLimits& limits)
    : boxSize_(boxSize), limits_(limits), random_(limits.seed) {
    units_ = GridUnits::OfBoxSide(boxSize);
    if (units_ == nullptr) {
        Finish(Completion::Unknown, nullptr);  // a box size the masks cannot hold
        return;
    }
    n_ = boxSize * boxSize;
    cells_ = n_ * n_;
    allValues_ = (1u << n_) - 1u;
    if (!Setup(values)) {
        Finish(Completion::DeadEnd, nullptr);
        return;
    }
    runLimit_ = std::max<std::uint64_t>(limits_.firstRunNodes, 1);
    StartRun();
}

// Fills the root state from the values and propagates; false on a dead end.
bool CompletionSearch::Setup(const Grid& values) {
    if (!HasShape(values, n_)) return false;
    std::vector<std::uint32_t> used(static_cast<std::size_t>(3 * n_), 0u);
    for (std::int32_t r = 0; r < n_; ++r) {
        for (std::int32_t c = 0; c < n_; ++c) {
            const std::int32_t v = values[r][c];
            if (v < 0 || v > n_) return false;
            if (v == 0) continue;
            const std::uint32_t bit = 1u << (v - 1);
            const std::int32_t cell = r * n_ + c;
            for (const std::int32_t u :
                 {units_->RowUnit(cell), units_->ColumnUnit(cell), units_->BoxUnit(cell)}) {
                if (used[u] & bit) return false;  // a clash
                used[u] |= bit;
            }
        }
    }
    std::uint32_t* root = State(0);
    for (std::int32_t cell = 0; cell < cells_; ++cell) {
        const std::int32_t v = values[units_->RowOf(cell)][units_->ColumnOf(cell)];
        std::uint32_t& mask = root[cell];
        if (v != 0) {
            mask = kPlaced | (1u << (v - 1));
            continue;
        }
        mask = allValues_ &
               ~(used[units_->RowUnit(cell)] | used[units_->ColumnUnit(cell)] | used[units_->BoxUnit(cell)]);
        if (mask == 0) return false;
        if (IsSingle(mask)) queue_.push_back(cell);
    }
    // Every unit and band is new to propagation.
    dirty_[0] = dirty_[1] = dirty_[2] = allValues_;
    dirty_[3] = dirty_[4] = (1u << boxSize_) - 1u;
    return Propagate(root);
}

void CompletionSearch::Touch(std::int32_t cell) {
    dirty_[0] |= 1u << units_->RowOf(cell);
    dirty_[1] |= 1u << units_->ColumnOf(cell);
    dirty_[2] |= 1u << units_->BoxOf(cell);
    dirty_[3] |= 1u << units_->BandOf(cell);
    dirty_[4] |= 1u << units_->StackOf(cell);
}

// Takes values from an unplaced cell's candidates; false when none is left.
bool CompletionSearch::Remove(std::uint32_t* state, std::int32_t cell, std::uint32_t values, bool& changed) {
    std::uint32_t m = state[cell];
    if ((m & kPlaced) || (m & values) == 0) return true;
    m &= ~values;
    state[cell] = m;
    Touch(cell);
    changed = true;
    if (m == 0) return false;
    if (IsSingle(m)) queue_.push_back(cell);
    return true;
}

// Places every queued single and takes its value from the cell's row, column and box.
bool CompletionSearch::Place(std::uint32_t* state) {
    while (!queue_.empty()) {
        const std::int32_t cell = queue_.back();
        queue_.pop_back();
        const std::uint32_t bit = state[cell];
        if (bit & kPlaced) continue;
        state[cell] = bit | kPlaced;
        Touch(cell);
        for (const std::int32_t u :
             {units_->RowUnit(cell), units_->ColumnUnit(cell), units_->BoxUnit(cell)}) {
            const std::uint16_t* unit = units_->UnitCells(u);
            for (std::int32_t i = 0; i < n_; ++i) {
                const std::int32_t peer = unit[i];
                const std::uint32_t m = state[peer];
                if (peer == cell || (m & bit) == 0) continue;
                if (m & kPlaced) return false;  // the same value placed beside it
                bool changed = false;
                if (!Remove(state, peer, bit, changed)) return false;
            }
        }
    }
    return true;
}

// Looks at every changed unit: a value with no place is a dead end, a value with one
// place becomes that cell's single candidate and is queued.
bool CompletionSearch::HiddenSingles(std::uint32_t* state, bool& found) {
    for (std::int32_t kind = 0; kind < 3; ++kind) {
        for (std::uint32_t dirty = dirty_[kind]; dirty != 0; dirty &= dirty - 1) {
            const std::uint16_t* unit = units_->UnitCells(kind * n_ + LowestBitIndex(dirty));
            std::uint32_t once = 0;
            std::uint32_t twice = 0;
            std::uint32_t placed = 0;
            for (std::int32_t i = 0; i < n_; ++i) {
                const std::uint32_t m = state[unit[i]];
                if (m & kPlaced) {
                    placed |= m;
                } else {
                    twice |= once & m;
                    once |= m;
                }
            }
            placed &= allValues_;
            if ((once | placed) != allValues_) return false;
            const std::uint32_t hidden = once & ~twice & ~placed;
            if (hidden == 0) continue;
            found = true;
            for (std::int32_t i = 0; i < n_; ++i) {
                const std::uint32_t m = state[unit[i]];
                if ((m & kPlaced) || (m & hidden) == 0) continue;
                const std::uint32_t only = m & hidden;
                if (!IsSingle(only)) return false;  // one cell is the only place of two values
                if (m == only) continue;             // a single already
                state[unit[i]] = only;
                queue_.push_back(unit[i]);
            }
        }
        dirty_[kind] = 0;
    }
    return true;
}

// Box-line interplay in every changed band of rows and of columns.
bool CompletionSearch::LockedCandidates(std::uint32_t* state, bool& found) {
    for (int kind = 0; kind < 2; ++kind) {
        const std::uint32_t bands = dirty_[3 + kind];
        dirty_[3 + kind] = 0;
        for (std::uint32_t rest = bands; rest != 0; rest &= rest - 1) {
            if (!LockedInBand(state, LowestBitIndex(rest), kind == 1, found)) return false;
        }
    }
    return true;
}

// A band is B lines (rows, or columns) crossing B boxes; a segment is where one line
// crosses one box. A value whose places in a box all lie in one segment has no place in
// the rest of that segment's line; a value whose places in a line all lie in one
// segment has no place in the rest of that segment's box.
bool CompletionSearch::LockedInBand(std::uint32_t* state, std::int32_t band, bool columns, bool& found) {
    const std::int32_t b = boxSize_;
    // Cell (line, along) of the band is state[first + line * lineStep + along * alongStep].
    const std::int32_t first = columns ? band * b : band * b * n_;
    const std::int32_t lineStep = columns ? 1 : n_;
    const std::int32_t alongStep = columns ? n_ : 1;
    std::uint32_t segment[kMaxBoxSize][kMaxBoxSize];
    std::uint32_t removal[kMaxBoxSize][kMaxBoxSize];
    std::uint32_t anyRemoval = 0;
    switch (b) {
        case 2:
            anyRemoval = BandRemovals<2>(state + first, lineStep, alongStep, segment, removal);
            break;
        case 3:
            anyRemoval = BandRemovals<3>(state + first, lineStep, alongStep, segment, removal);
            break;
        case 4:
            anyRemoval = BandRemovals<4>(state + first, lineStep, alongStep, segment, removal);
            break;
        case 5:
            anyRemoval = BandRemovals<5>(state + first, lineStep, alongStep, segment, removal);
            break;
        default:
            return true;  // one box: no other segment
    }
    if (anyRemoval == 0) return true;
    for (std::int32_t line = 0; line < b; ++line) {
        for (std::int32_t box = 0; box < b; ++box) {
            const std::uint32_t values = removal[line][box];
            if ((segment[line][box] & values) == 0) continue;
            std::int32_t cell = first + line * lineStep + box * b * alongStep;
            for (std::int32_t j = 0; j < b; ++j, cell += alongStep) {
                if (!Remove(state, cell, values, found)) return false;
            }
        }
    }
    return true;
}

bool CompletionSearch::Propagate(std::uint32_t* state) {
    for (;;) {
        if (!Place(state)) return Fail();
        bool found = false;
        if (!HiddenSingles(state, found)) return Fail();
        if (found) continue;
        if (!LockedCandidates(state, found)) return Fail();
        if (!found) return true;
    }
}

// A failed propagation leaves nothing behind for the next one.
bool CompletionSearch::Fail() {
    queue_.clear();
    std::fill(std::begin(dirty_), std::end(dirty_), 0u);
    return false;
}

// The unplaced cell with the fewest candidates, looked for from a random start so
// that restarts branch elsewhere. False when every cell is placed.
bool CompletionSearch::ChooseBranch(const std::uint32_t* state, Frame& frame) {
    const std::int32_t start = static_cast<std::int32_t>(NextRandom() % static_cast<std::uint32_t>(cells_));
    std::int32_t best = -1;
    int fewest = n_ + 1;
    for (std::int32_t i = 0; i < cells_; ++i) {
        const std::int32_t cell = start + i < cells_ ? start + i : start + i - cells_;
        const std::uint32_t m = state[cell];
        if (m & kPlaced) continue;
        const int count = BitCount(m);
        if (count < fewest) {
            fewest = count;
            best = cell;
            if (count <= 2) break;  // singles are placed already: two is the fewest
        }
    }
    if (best < 0) return false;
    frame = Frame{best, state[best]};
    return true;
}

std::uint32_t* CompletionSearch::State(std::size_t depth) {
    const std::size_t needed = (depth + 1) * static_cast<std::size_t>(cells_);
    if (states_.size() < needed) states_.resize(needed);
    return &states_[depth * static_cast<std::size_t>(cells_)];
}

// splitmix64, upper half.
std::uint32_t CompletionSearch::NextRandom() {
    return static_cast<std::uint32_t>(SplitMix64Next(random_) >> 32);
}

// A new run from the root, unless propagation (or probing) has placed every cell.
void CompletionSearch::StartRun() {
    runNodes_ = 0;
    frames_.clear();
    Frame frame{};
    if (!ChooseBranch(State(0), frame)) {
        Finish(Completion::Completable, State(0));
        return;
    }
    ++result_.runs;
    frames_.push_back(frame);
}

bool CompletionSearch::Advance(std::uint64_t nodes) {
    std::uint64_t spent = 0;
    while (!finished_) {
        if (probing_ && probeQuota_ == 0) {
            probing_ = false;
            StartRun();
            continue;
        }
        if (!probing_) {
            if (frames_.empty()) {  // a run tried every value of every branch
                Finish(Completion::DeadEnd, nullptr);
                break;
            }
            if (frames_.back().untried == 0) {
                frames_.pop_back();
                continue;
            }
            if (runNodes_ >= runLimit_) {
                EndRun();
                continue;
            }
        }
        if (result_.nodes >= limits_.nodeBudget) {
            Finish(Completion::Unknown, nullptr);
            break;
        }
        if (spent >= nodes) return false;
        ++spent;
        ++result_.nodes;
        if (probing_) {
            --probeQuota_;
            ProbeNext();
        } else {
            ++runNodes_;
            Branch();
        }
    }
    return true;
}

// Starts the next run with twice the nodes. Once the runs have spent the nodes given
// for that, each run is preceded by as many probes of the root as the last run had
// nodes, until probing is done: a position that the runs settle quickly loses little
// to probing, a dead end that only probing shows costs at most twice its probes.
void CompletionSearch::EndRun() {
    frames_.clear();
    const std::uint64_t lastRun = runLimit_;
    runLimit_ = Doubled(runLimit_);
    if (!probed_ && result_.nodes >= limits_.probeAfterNodes) {
        probing_ = true;
        probeQuota_ = lastRun;
        return;
    }
    StartRun();
}

// Tries a random untried value of the top frame's cell in a copy of its state.
void CompletionSearch::Branch() {
    Frame& top = frames_.back();
    std::uint32_t bit = top.untried;
    for (std::uint32_t k = NextRandom() % static_cast<std::uint32_t>(BitCount(top.untried)); k > 0; --k)
        bit &= bit - 1;
    bit = LowestBit(bit);
    top.untried &= ~bit;
    const std::int32_t cell = top.cell;
    const std::size_t depth = frames_.size();
    std::uint32_t* child = State(depth);
    const std::uint32_t* parent = State(depth - 1);
    std::copy(parent, parent + cells_, child);
    child[cell] = bit;
    queue_.push_back(cell);
    if (!Propagate(child)) return;
    Frame next{};
    if (!ChooseBranch(child, next)) {
        Finish(Completion::Completable, child);
        return;
    }
    frames_.push_back(next);
}

// Probes one value of the root: when propagation refutes it at once, it is removed
// from the root. Passes over all cells repeat until one removes nothing; the runs then
// go on from the stronger root alone.
void CompletionSearch::ProbeNext() {
    std::uint32_t* root = State(0);
    while (probeUntried_ == 0) {
        if (++probeCell_ == cells_) {
            if (!probeChanged_) {
                probing_ = false;
                probed_ = true;
                StartRun();
                return;
            }
            probeChanged_ = false;
            probeCell_ = 0;
        }
        const std::uint32_t m = root[probeCell_];
        probeUntried_ = (m & kPlaced) ? 0 : m;
    }
    const std::uint32_t bit = LowestBit(probeUntried_);
    probeUntried_ &= ~bit;
    std::uint32_t* trial = State(1);
    root = State(0);
    std::copy(root, root + cells_, trial);
    trial[probeCell_] = bit;
    queue_.push_back(probeCell_);
    if (Propagate(trial)) return;
    bool changed = false;
    if (!Remove(root, probeCell_, bit, changed) || !Propagate(root)) {
        Finish(Completion::DeadEnd, nullptr);
        return;
    }
    probeChanged_ = true;
    const std::uint32_t left = root[probeCell_];
    probeUntried_ &= (left & kPlaced) ? 0 : left;
}

void CompletionSearch::Finish(Completion verdict, const std::uint32_t* state) {
    finished_ = true;
    result_.verdict = verdict;
    if (verdict == Completion::Completable && state != nullptr) {
        result_.completion.assign(static_cast<std::size_t>(n_), std::vector<std::int32_t>(static_cast<std::size_t>(n_)));
        for (std::int32_t cell = 0; cell < cells_; ++cell)
            result_.completion[cell / n_][cell % n_] = LowestBitIndex(state[cell] & ~kPlaced) + 1;
    }
    // The search's working memory is not needed any more.
    states_ = {};
    frames_ = {};
    queue_ = {};
}

CompletionResult CheckCompletion(const Grid& values, std::int32_t boxSize, const CompletionLimits& limits) {
    CompletionSearch search(values, boxSize, limits);
    if (limits.stop == nullptr) {
        search.Advance(std::numeric_limits<std::uint64_t>::max());
        return search.Result();
    }
    constexpr std::uint64_t kNodesBetweenLooks = 64;
    while (!search.Advance(kNodesBetweenLooks)) {
        if (limits.stop->load()) return CompletionResult{};
    }
    return search.Result();
}
