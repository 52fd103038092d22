// Completion check: candidate masks, propagation of naked and hidden singles, and a
// depth-first search on an explicit stack with restarts of growing length.
#include "sudoku/completion.h"

#include <algorithm>
#include <limits>

namespace {

// Set in a cell's mask once its value is placed; the value is then the one other bit.
constexpr std::uint32_t kPlaced = 1u << 31;
constexpr std::int32_t kMaxBoxSize = 5;
constexpr bool kValueBranches = true;  // N = 25 values still fit the mask below kPlaced

int BitCount(std::uint32_t m) {
    m = m - ((m >> 1) & 0x55555555u);
    m = (m & 0x33333333u) + ((m >> 2) & 0x33333333u);
    return static_cast<int>((((m + (m >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

bool IsSingle(std::uint32_t m) {
    return m != 0 && (m & (m - 1)) == 0;
}

// Value 1..N of a one-bit mask.
std::int32_t ValueOf(std::uint32_t bit) {
    return BitCount(bit - 1) + 1;
}

std::int32_t BoxOf(std::int32_t row, std::int32_t column, std::int32_t boxSize) {
    return (row / boxSize) * boxSize + column / boxSize;
}

}  // namespace

CompletionSearch::CompletionSearch(const Grid& values, std::int32_t boxSize, const CompletionLimits& limits)
    : boxSize_(boxSize), limits_(limits), random_(limits.seed) {
    if (boxSize < 1 || boxSize > kMaxBoxSize) {
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
    Frame frame{};
    if (!ChooseBranch(State(0), frame)) {
        Finish(Completion::Completable, State(0));
        return;
    }
    runLimit_ = std::max<std::uint64_t>(limits_.firstRunNodes, 1);
    StartRun();
}

// Fills the root state from the values and propagates; false on a dead end.
bool CompletionSearch::Setup(const Grid& values) {
    if (!HasShape(values, n_)) return false;
    BuildUnits();
    std::vector<std::uint32_t> used(static_cast<std::size_t>(3 * n_), 0u);
    for (std::int32_t r = 0; r < n_; ++r) {
        for (std::int32_t c = 0; c < n_; ++c) {
            const std::int32_t v = values[r][c];
            if (v < 0 || v > n_) return false;
            if (v == 0) continue;
            const std::uint32_t bit = 1u << (v - 1);
            for (const std::int32_t u : {r, n_ + c, 2 * n_ + BoxOf(r, c, boxSize_)}) {
                if (used[u] & bit) return false;  // a clash
                used[u] |= bit;
            }
        }
    }
    std::uint32_t* root = State(0);
    for (std::int32_t r = 0; r < n_; ++r) {
        for (std::int32_t c = 0; c < n_; ++c) {
            const std::int32_t v = values[r][c];
            std::uint32_t& cell = root[r * n_ + c];
            if (v != 0) {
                cell = kPlaced | (1u << (v - 1));
                continue;
            }
            cell = allValues_ & ~(used[r] | used[n_ + c] | used[2 * n_ + BoxOf(r, c, boxSize_)]);
            if (cell == 0) return false;
            if (IsSingle(cell)) queue_.push_back(r * n_ + c);
        }
    }
    return Propagate(root);
}

void CompletionSearch::BuildUnits() {
    units_.resize(static_cast<std::size_t>(3 * cells_));
    std::int32_t* rows = units_.data();
    std::int32_t* columns = rows + cells_;
    std::int32_t* boxes = columns + cells_;
    std::vector<std::int32_t> boxFill(static_cast<std::size_t>(n_), 0);
    for (std::int32_t r = 0; r < n_; ++r) {
        for (std::int32_t c = 0; c < n_; ++c) {
            const std::int32_t cell = r * n_ + c;
            rows[r * n_ + c] = cell;
            columns[c * n_ + r] = cell;
            const std::int32_t b = BoxOf(r, c, boxSize_);
            boxes[b * n_ + boxFill[b]++] = cell;
        }
    }
}

// Places every queued single and takes its value from the cell's row, column and box.
bool CompletionSearch::Place(std::uint32_t* state) {
    while (!queue_.empty()) {
        const std::int32_t cell = queue_.back();
        queue_.pop_back();
        const std::uint32_t bit = state[cell];
        if (bit & kPlaced) continue;
        state[cell] = bit | kPlaced;
        const std::int32_t r = cell / n_;
        const std::int32_t c = cell % n_;
        for (const std::int32_t u : {r, n_ + c, 2 * n_ + BoxOf(r, c, boxSize_)}) {
            const std::int32_t* unit = &units_[static_cast<std::size_t>(u * n_)];
            for (std::int32_t i = 0; i < n_; ++i) {
                const std::int32_t peer = unit[i];
                std::uint32_t m = state[peer];
                if (peer == cell || (m & bit) == 0) continue;
                if (m & kPlaced) {  // the same value already placed beside it
                    queue_.clear();
                    return false;
                }
                m &= ~bit;
                state[peer] = m;
                if (m == 0) {
                    queue_.clear();
                    return false;
                }
                if (IsSingle(m)) queue_.push_back(peer);
            }
        }
    }
    return true;
}

// One sweep over all units: a value with no place is a dead end, a value with one
// place becomes that cell's single candidate and is queued.
bool CompletionSearch::HiddenSingles(std::uint32_t* state, bool& found) {
    for (std::int32_t u = 0; u < 3 * n_; ++u) {
        const std::int32_t* unit = &units_[static_cast<std::size_t>(u * n_)];
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
            state[unit[i]] = only;
            queue_.push_back(unit[i]);
        }
    }
    return true;
}

bool CompletionSearch::Eliminate(std::uint32_t* state, std::int32_t cell, std::uint32_t values, bool& found) {
    std::uint32_t m = state[cell];
    if ((m & kPlaced) || (m & values) == 0) return true;
    m &= ~values;
    state[cell] = m;
    found = true;
    if (m == 0) return false;
    if (IsSingle(m)) queue_.push_back(cell);
    return true;
}

// Box-line interplay: a value whose places in a box all lie in one of its rows (columns)
// has no place in the rest of that row (column); a value whose places in a row (column)
// all lie in one box has no place in the rest of that box.
bool CompletionSearch::LockedCandidates(std::uint32_t* state, bool& found) {
    const std::int32_t b = boxSize_;
    // segments_[line * B + k]: candidates of the line's cells in its k-th box; rows first.
    segments_.assign(static_cast<std::size_t>(2 * n_ * b), 0u);
    std::uint32_t* rowSegments = segments_.data();
    std::uint32_t* columnSegments = rowSegments + n_ * b;
    for (std::int32_t r = 0; r < n_; ++r) {
        for (std::int32_t c = 0; c < n_; ++c) {
            const std::uint32_t m = state[r * n_ + c];
            if (m & kPlaced) continue;
            rowSegments[r * b + c / b] |= m;
            columnSegments[c * b + r / b] |= m;
        }
    }
    for (int pass = 0; pass < 2; ++pass) {
        const std::uint32_t* segments = pass == 0 ? rowSegments : columnSegments;
        for (std::int32_t line = 0; line < n_; ++line) {
            const std::int32_t band = line / b;  // the boxes' row (column) index of the line
            for (std::int32_t k = 0; k < b; ++k) {
                const std::uint32_t segment = segments[line * b + k];
                std::uint32_t restOfLine = 0;
                std::uint32_t restOfBox = 0;
                for (std::int32_t j = 0; j < b; ++j) {
                    if (j != k) restOfLine |= segments[line * b + j];
                    const std::int32_t other = band * b + j;
                    if (other != line) restOfBox |= segments[other * b + k];
                }
                const std::uint32_t boxOnly = segment & ~restOfBox;   // leave the rest of the line
                const std::uint32_t lineOnly = segment & ~restOfLine; // leave the rest of the box
                if ((boxOnly | lineOnly) == 0) continue;
                for (std::int32_t i = 0; i < n_; ++i) {
                    const bool inBox = i / b == k;
                    if (!inBox && boxOnly) {
                        const std::int32_t cell = pass == 0 ? line * n_ + i : i * n_ + line;
                        if (!Eliminate(state, cell, boxOnly, found)) return false;
                    }
                }
                if (lineOnly) {
                    for (std::int32_t other = band * b; other < band * b + b; ++other) {
                        if (other == line) continue;
                        for (std::int32_t i = k * b; i < k * b + b; ++i) {
                            const std::int32_t cell = pass == 0 ? other * n_ + i : i * n_ + other;
                            if (!Eliminate(state, cell, lineOnly, found)) return false;
                        }
                    }
                }
            }
        }
    }
    return true;
}

bool CompletionSearch::Propagate(std::uint32_t* state) {
    for (;;) {
        if (!Place(state)) return false;
        bool found = false;
        if (!HiddenSingles(state, found)) {
            queue_.clear();
            return false;
        }
        if (found) continue;
        if (!LockedCandidates(state, found)) {
            queue_.clear();
            return false;
        }
        if (!found) return true;
    }
}

// The branch with the fewest ways on: the unplaced cell with the fewest candidates or,
// when no cell has two, a value with exactly two places in a row, column or box. Cells
// are searched from a random start so that restarts take other branches. False when
// every cell is placed.
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
    frame = Frame{-1, best, 0, state[best]};
    if (fewest <= 2 || !kValueBranches) return true;
    const std::int32_t units = 3 * n_;
    const std::int32_t first = static_cast<std::int32_t>(NextRandom() % static_cast<std::uint32_t>(units));
    for (std::int32_t k = 0; k < units; ++k) {
        const std::int32_t u = first + k < units ? first + k : first + k - units;
        const std::int32_t* unit = &units_[static_cast<std::size_t>(u * n_)];
        std::uint32_t once = 0;
        std::uint32_t twice = 0;
        std::uint32_t thrice = 0;
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::uint32_t m = state[unit[i]];
            if (m & kPlaced) continue;
            thrice |= twice & m;
            twice |= once & m;
            once |= m;
        }
        std::uint32_t pairs = twice & ~thrice;
        if (pairs == 0) continue;
        const std::uint32_t value = pairs & ~(pairs - 1);
        std::uint32_t places = 0;
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::uint32_t m = state[unit[i]];
            if (!(m & kPlaced) && (m & value)) places |= 1u << i;
        }
        frame = Frame{u, -1, value, places};
        return true;
    }
    return true;
}

std::uint32_t* CompletionSearch::State(std::size_t depth) {
    const std::size_t needed = (depth + 1) * static_cast<std::size_t>(cells_);
    if (states_.size() < needed) states_.resize(needed);
    return &states_[depth * static_cast<std::size_t>(cells_)];
}

// splitmix64, upper half.
std::uint32_t CompletionSearch::NextRandom() {
    random_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = random_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

void CompletionSearch::StartRun() {
    ++result_.runs;
    runNodes_ = 0;
    frames_.clear();
    Frame frame{};
    ChooseBranch(State(0), frame);
    frames_.push_back(frame);
}

bool CompletionSearch::Advance(std::uint64_t nodes) {
    std::uint64_t spent = 0;
    while (!finished_) {
        if (frames_.empty()) {  // a run tried every value of every branch
            Finish(Completion::DeadEnd, nullptr);
            break;
        }
        if (frames_.back().untried == 0) {
            frames_.pop_back();
            continue;
        }
        if (runNodes_ >= runLimit_) {
            runLimit_ = runLimit_ <= std::numeric_limits<std::uint64_t>::max() / 2
                            ? runLimit_ * 2
                            : std::numeric_limits<std::uint64_t>::max();
            StartRun();
            continue;
        }
        if (result_.nodes >= limits_.nodeBudget) {
            Finish(Completion::Unknown, nullptr);
            break;
        }
        if (spent >= nodes) return false;
        ++spent;
        ++runNodes_;
        ++result_.nodes;

        Frame& top = frames_.back();
        std::uint32_t bit = top.untried;
        for (std::uint32_t k = NextRandom() % static_cast<std::uint32_t>(BitCount(top.untried)); k > 0; --k)
            bit &= bit - 1;
        bit &= ~(bit - 1);
        top.untried &= ~bit;
        std::int32_t cell = top.cell;
        std::uint32_t value = bit;
        if (top.unit >= 0) {
            cell = units_[static_cast<std::size_t>(top.unit * n_ + BitCount(bit - 1))];
            value = top.value;
        }

        const std::size_t depth = frames_.size();
        std::uint32_t* child = State(depth);
        const std::uint32_t* parent = State(depth - 1);
        std::copy(parent, parent + cells_, child);
        child[cell] = value;
        queue_.push_back(cell);
        if (!Propagate(child)) continue;
        Frame next{};
        if (!ChooseBranch(child, next)) {
            Finish(Completion::Completable, child);
            break;
        }
        frames_.push_back(next);
    }
    return true;
}

void CompletionSearch::Finish(Completion verdict, const std::uint32_t* state) {
    finished_ = true;
    result_.verdict = verdict;
    if (verdict == Completion::Completable && state != nullptr) {
        result_.completion.assign(static_cast<std::size_t>(n_), std::vector<std::int32_t>(static_cast<std::size_t>(n_)));
        for (std::int32_t cell = 0; cell < cells_; ++cell)
            result_.completion[cell / n_][cell % n_] = ValueOf(state[cell] & ~kPlaced);
    }
    // The search's working memory is not needed any more.
    states_ = {};
    frames_ = {};
    queue_ = {};
}

CompletionResult CheckCompletion(const Grid& values, std::int32_t boxSize, const CompletionLimits& limits) {
    CompletionSearch search(values, boxSize, limits);
    search.Advance(std::numeric_limits<std::uint64_t>::max());
    return search.Result();
}

std::optional<CellIndex> EmptyCellWithFewestCandidates(const Grid& values, std::int32_t boxSize) {
    if (boxSize < 1 || boxSize > kMaxBoxSize) return std::nullopt;
    const std::int32_t n = boxSize * boxSize;
    if (!HasShape(values, n)) return std::nullopt;
    std::vector<std::uint32_t> used(static_cast<std::size_t>(3 * n), 0u);
    for (std::int32_t r = 0; r < n; ++r) {
        for (std::int32_t c = 0; c < n; ++c) {
            const std::int32_t v = values[r][c];
            if (v < 1 || v > n) continue;
            const std::uint32_t bit = 1u << (v - 1);
            used[r] |= bit;
            used[n + c] |= bit;
            used[2 * n + BoxOf(r, c, boxSize)] |= bit;
        }
    }
    const std::uint32_t all = (1u << n) - 1u;
    std::optional<CellIndex> best;
    int fewest = n + 1;
    for (std::int32_t r = 0; r < n; ++r) {
        for (std::int32_t c = 0; c < n; ++c) {
            if (values[r][c] != 0) continue;
            const int count = BitCount(all & ~(used[r] | used[n + c] | used[2 * n + BoxOf(r, c, boxSize)]));
            if (count < fewest) {
                fewest = count;
                best = CellIndex{r, c};
            }
        }
    }
    return best;
}
