// Solution counter: candidate masks per cell, propagation of singles by full scans of
// the grid, and an explicit stack of grid copies, one per branch depth.
#include "sudoku/logic/solution_count.h"

#include <algorithm>
#include <vector>

#include "sudoku/bit_masks.h"
#include "sudoku/grid.h"

namespace {

constexpr std::uint32_t kFilled = 1u << 31;  // a cell's mask once its value stands

class Counter {
public:
    Counter(std::int32_t boxSize, std::int32_t limit, std::uint64_t budget, const std::atomic<bool>* stop)
        : units_(*GridUnits::OfBoxSide(boxSize)),
          n_(boxSize * boxSize),
          all_((1u << n_) - 1u),
          limit_(limit),
          budget_(budget),
          stop_(stop) {}

    SolutionCount Run(const Grid& values) {
        states_.assign(static_cast<std::size_t>(n_ * n_), all_);
        std::uint32_t* root = states_.data();
        for (std::int32_t cell = 0; cell < n_ * n_; ++cell) {
            const std::int32_t v = values[cell / n_][cell % n_];
            if (v != 0 && !Fix(root, cell, 1u << (v - 1))) return result_;  // a clash
        }
        if (Propagate(root)) Search();
        return result_;
    }

private:
    // Gives an open cell its value and takes the value from its peers; false when a
    // peer is left without candidates or already holds it.
    bool Fix(std::uint32_t* s, std::int32_t cell, std::uint32_t bit) {
        if ((s[cell] & bit) == 0 || (s[cell] & kFilled)) return false;
        s[cell] = kFilled | bit;
        const std::uint16_t* peers = units_.Peers(cell);
        for (std::int32_t k = 0; k < units_.PeerCount(); ++k) {
            const std::int32_t peer = peers[k];
            if (s[peer] == (kFilled | bit)) return false;
            if (s[peer] & kFilled) continue;
            s[peer] &= ~bit;
            if (s[peer] == 0) return false;
        }
        return true;
    }

    bool Propagate(std::uint32_t* s) {
        for (bool changed = true; changed;) {
            changed = false;
            for (std::int32_t cell = 0; cell < n_ * n_; ++cell) {
                const std::uint32_t m = s[cell];
                if ((m & kFilled) || (m & (m - 1)) != 0) continue;
                if (!Fix(s, cell, m)) return false;
                changed = true;
            }
            for (std::int32_t u = 0; u < 3 * n_; ++u) {
                const std::uint16_t* unit = units_.UnitCells(u);
                std::uint32_t once = 0;
                std::uint32_t twice = 0;
                for (std::int32_t i = 0; i < n_; ++i) {
                    const std::uint32_t m = s[unit[i]] & ~kFilled;
                    twice |= once & m;
                    once |= m;
                }
                if (once != all_) return false;
                for (std::int32_t i = 0; i < n_; ++i) {
                    const std::int32_t cell = unit[i];
                    const std::uint32_t only = s[cell] & once & ~twice;
                    if (only == 0 || (s[cell] & kFilled)) continue;
                    if ((only & (only - 1)) != 0 || !Fix(s, cell, only)) return false;
                    changed = true;
                }
            }
        }
        return true;
    }

    struct Frame {
        std::int32_t cell;
        std::uint32_t untried;
    };

    // Looked at every 256 nodes: the flag is shared with another thread.
    bool Stopped() const { return stop_ != nullptr && (result_.nodes & 255u) == 0 && stop_->load(); }

    void Search() {
        std::vector<Frame> frames;
        const std::size_t cells = static_cast<std::size_t>(n_ * n_);
        if (!Push(frames, 0)) return;
        while (!frames.empty()) {
            Frame& top = frames.back();
            if (top.untried == 0) {
                frames.pop_back();
                continue;
            }
            if (result_.nodes >= budget_ || Stopped()) {
                result_.settled = false;
                return;
            }
            ++result_.nodes;
            const std::uint32_t bit = top.untried & (~top.untried + 1u);
            top.untried &= ~bit;
            const std::size_t depth = frames.size();
            if (states_.size() < (depth + 1) * cells) states_.resize((depth + 1) * cells);
            std::uint32_t* child = &states_[depth * cells];
            std::copy(child - cells, child, child);
            const std::int32_t cell = top.cell;
            if (!Fix(child, cell, bit) || !Propagate(child)) continue;
            if (!Push(frames, depth) && result_.solutions >= limit_) return;
        }
    }

    // Branches on the open cell of the state at depth with the fewest candidates;
    // false when there is none: the state is a solution, counted.
    bool Push(std::vector<Frame>& frames, std::size_t depth) {
        const std::uint32_t* s = &states_[depth * static_cast<std::size_t>(n_ * n_)];
        std::int32_t best = -1;
        int fewest = n_ + 1;
        for (std::int32_t cell = 0; cell < n_ * n_; ++cell) {
            if (s[cell] & kFilled) continue;
            const int count = BitCount(s[cell]);
            if (count < fewest) {
                fewest = count;
                best = cell;
            }
        }
        if (best < 0) {
            ++result_.solutions;
            return false;
        }
        frames.push_back(Frame{best, s[best]});
        return true;
    }

    const GridUnits& units_;
    const std::int32_t n_;
    const std::uint32_t all_;
    const std::int32_t limit_;
    const std::uint64_t budget_;
    const std::atomic<bool>* const stop_;
    std::vector<std::uint32_t> states_;
    SolutionCount result_;
};

}  // namespace

SolutionCount CountSolutions(const Grid& values, std::int32_t boxSize, std::int32_t limit,
                             std::uint64_t nodeBudget, const std::atomic<bool>* stop) {
    if (boxSize < 2 || boxSize > kMaxTableBoxSide || limit < 1 || !HasShape(values, boxSize * boxSize))
        return SolutionCount{};
    for (const auto& line : values) {
        for (const std::int32_t v : line) {
            if (v < 0 || v > boxSize * boxSize) return SolutionCount{};
        }
    }
    Counter counter(boxSize, limit, nodeBudget, stop);
    return counter.Run(values);
}
