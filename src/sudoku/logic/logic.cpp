// Logic engine: the candidates state, the technique searches on bit masks, and solving
// by steps. Each search tabulates, per unit and value, the positions in the unit where
// the value is still a candidate; the techniques read that table.
#include "sudoku/logic/logic.h"

#include <algorithm>

#include "sudoku/bit_masks.h"

namespace {

// Index of the lowest set bit of a non-zero mask.
std::int32_t LowIndex(std::uint32_t m) {
    return BitCount((m & (~m + 1u)) - 1u);
}

constexpr std::int32_t kMaxUnits = 3 * kLogicMaxBoxSize * kLogicMaxBoxSize;
constexpr std::int32_t kMaxSize = kLogicMaxBoxSize * kLogicMaxBoxSize;

// Searches one grid for its easiest step, writing it into the step it was given.
class StepFinder {
public:
    StepFinder(const LogicGrid& grid, LogicStep& step)
        : g_(grid), step_(step), b_(grid.BoxSize()), n_(grid.Size()), all_((1u << n_) - 1u) {}

    StepSearch Find(Technique hardest);

private:
    bool Tabulate();
    bool NakedSingle();
    bool HiddenSingle();
    bool LockedCandidates();
    bool Pointing(std::int32_t box, std::int32_t value);
    bool Claiming(std::int32_t line, std::int32_t value);
    bool NakedSubset(std::int32_t k);
    bool HiddenSubset(std::int32_t k);
    bool Fish(std::int32_t k);
    bool XYWing();
    bool XYZWing();
    bool Combine(std::int32_t k, std::int32_t start, std::int32_t depth, std::uint32_t joined,
                 std::uint32_t chosen);
    bool AcceptCombination(std::uint32_t chosen, std::uint32_t joined);

    void Begin(Technique technique);
    void AddUnit(std::int32_t unit);
    void AddShared(std::int32_t a, std::int32_t b);
    void Eliminate(std::int32_t cell, std::uint32_t values);
    bool Finish();

    const LogicGrid& g_;
    LogicStep& step_;
    const std::int32_t b_;
    const std::int32_t n_;
    const std::uint32_t all_;
    std::uint32_t positions_[kMaxUnits][kMaxSize];  // [unit][value - 1]: positions in the unit (Tabulate)
    std::uint32_t placed_[kMaxUnits] = {};          // values standing in the unit

    // The combination search of subsets and fish: its items (cells, values or lines),
    // their masks, and what an accepted combination means.
    enum class Pattern { NakedSubset, HiddenSubset, Fish };
    Pattern pattern_ = Pattern::NakedSubset;
    std::int32_t unit_ = 0;       // subsets: the unit; fish: the first unit of the base lines
    std::int32_t coverBase_ = 0;  // fish: the first unit of the cover lines
    std::int32_t value_ = 0;      // fish: the value
    std::int32_t itemCount_ = 0;
    std::int32_t items_[kMaxSize] = {};
    std::uint32_t masks_[kMaxSize] = {};
};

// Units in the order a person scans them: boxes, then rows, then columns.
std::int32_t ScanUnit(std::int32_t i, std::int32_t n) {
    return i < n ? 2 * n + i : i - n;
}

// One pass over the cells fills the positions of every value in its row, column and
// box; then every unit must have a place for each value it lacks.
bool StepFinder::Tabulate() {
    if (g_.HasClash()) return false;
    for (std::int32_t u = 0; u < 3 * n_; ++u) {
        std::fill(positions_[u], positions_[u] + n_, 0u);
        placed_[u] = 0;
    }
    for (std::int32_t row = 0; row < n_; ++row) {
        for (std::int32_t column = 0; column < n_; ++column) {
            const std::int32_t cell = row * n_ + column;
            const std::int32_t box = row / b_ * b_ + column / b_;
            const std::int32_t inBox = row % b_ * b_ + column % b_;
            const std::int32_t value = g_.Value(cell);
            if (value != 0) {
                const std::uint32_t bit = 1u << (value - 1);
                placed_[row] |= bit;
                placed_[n_ + column] |= bit;
                placed_[2 * n_ + box] |= bit;
                continue;
            }
            std::uint32_t m = g_.Candidates(cell);
            if (m == 0) return false;  // an empty cell nothing fits
            for (; m != 0; m &= m - 1) {
                const std::int32_t v = LowIndex(m);
                positions_[row][v] |= 1u << column;
                positions_[n_ + column][v] |= 1u << row;
                positions_[2 * n_ + box][v] |= 1u << inBox;
            }
        }
    }
    for (std::int32_t u = 0; u < 3 * n_; ++u) {
        std::uint32_t somewhere = placed_[u];
        for (std::int32_t v = 0; v < n_; ++v) {
            if (positions_[u][v] != 0) somewhere |= 1u << v;
        }
        if (somewhere != all_) return false;  // a value with no place
    }
    return true;
}

void StepFinder::Begin(Technique technique) {
    step_.technique = technique;
    step_.units.clear();
    step_.cells.clear();
    step_.eliminations.clear();
    step_.values = 0;
    step_.placeCell = -1;
    step_.placeValue = 0;
}

void StepFinder::AddUnit(std::int32_t unit) {
    const LogicUnit u{static_cast<UnitKind>(unit / n_), unit % n_};
    if (std::find(step_.units.begin(), step_.units.end(), u) == step_.units.end()) step_.units.push_back(u);
}

// A unit that cells a and b share: their row, else their column, else their box.
void StepFinder::AddShared(std::int32_t a, std::int32_t b) {
    if (g_.RowOf(a) == g_.RowOf(b)) {
        AddUnit(g_.RowOf(a));
    } else if (g_.ColumnOf(a) == g_.ColumnOf(b)) {
        AddUnit(n_ + g_.ColumnOf(a));
    } else {
        AddUnit(2 * n_ + g_.BoxOf(a));
    }
}

// Records the elimination of those of values that are candidates of cell.
void StepFinder::Eliminate(std::int32_t cell, std::uint32_t values) {
    for (std::uint32_t m = g_.Candidates(cell) & values; m != 0; m &= m - 1)
        step_.eliminations.push_back(Elimination{cell, LowIndex(m) + 1});
}

// An elimination step counts only when it takes something out.
bool StepFinder::Finish() {
    if (step_.eliminations.empty()) return false;
    std::sort(step_.eliminations.begin(), step_.eliminations.end(),
              [](const Elimination& a, const Elimination& b) {
                  return a.cell != b.cell ? a.cell < b.cell : a.value < b.value;
              });
    return true;
}

bool StepFinder::NakedSingle() {
    for (std::int32_t cell = 0; cell < n_ * n_; ++cell) {
        const std::uint32_t m = g_.Candidates(cell);
        if (g_.Value(cell) != 0 || !IsSingle(m)) continue;
        Begin(Technique::NakedSingle);
        AddUnit(g_.RowOf(cell));
        AddUnit(n_ + g_.ColumnOf(cell));
        AddUnit(2 * n_ + g_.BoxOf(cell));
        step_.cells.push_back(cell);
        step_.values = m;
        step_.placeCell = cell;
        step_.placeValue = LowIndex(m) + 1;
        return true;
    }
    return false;
}

bool StepFinder::HiddenSingle() {
    for (std::int32_t i = 0; i < 3 * n_; ++i) {
        const std::int32_t u = ScanUnit(i, n_);
        for (std::int32_t v = 0; v < n_; ++v) {
            if (!IsSingle(positions_[u][v])) continue;
            const std::int32_t cell = g_.UnitCell(u, LowIndex(positions_[u][v]));
            Begin(Technique::HiddenSingle);
            AddUnit(u);
            step_.cells.push_back(cell);
            step_.values = 1u << v;
            step_.placeCell = cell;
            step_.placeValue = v + 1;
            return true;
        }
    }
    return false;
}

bool StepFinder::LockedCandidates() {
    for (std::int32_t v = 0; v < n_; ++v) {
        for (std::int32_t box = 0; box < n_; ++box) {
            if (Pointing(box, v)) return true;
        }
    }
    for (std::int32_t v = 0; v < n_; ++v) {
        for (std::int32_t line = 0; line < 2 * n_; ++line) {
            if (Claiming(line, v)) return true;
        }
    }
    return false;
}

// Pointing: the places of a value in a box all lie in one row (or column) of the box,
// so the value leaves the rest of that line.
bool StepFinder::Pointing(std::int32_t box, std::int32_t v) {
    const std::int32_t unit = 2 * n_ + box;
    const std::uint32_t pos = positions_[unit][v];
    if (pos == 0) return false;
    const std::uint32_t band = (1u << b_) - 1u;
    for (std::int32_t columns = 0; columns < 2; ++columns) {
        std::int32_t only = -1;  // the one line of the box that holds the places
        for (std::int32_t k = 0; k < b_; ++k) {
            std::uint32_t inLine = 0;
            if (columns == 0) {
                inLine = (pos >> (k * b_)) & band;
            } else {
                for (std::int32_t r = 0; r < b_; ++r) inLine |= (pos >> (r * b_ + k)) & 1u;
            }
            if (inLine == 0) continue;
            if (only >= 0) {
                only = -2;
                break;
            }
            only = k;
        }
        if (only < 0) continue;
        const std::int32_t row0 = box / b_ * b_;
        const std::int32_t column0 = box % b_ * b_;
        const std::int32_t line = columns == 0 ? row0 + only : n_ + column0 + only;
        Begin(Technique::LockedCandidates);
        AddUnit(unit);
        AddUnit(line);
        step_.values = 1u << v;
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t cell = g_.UnitCell(line, i);
            if (g_.BoxOf(cell) != box) {
                Eliminate(cell, 1u << v);
            } else if (g_.Candidates(cell) & (1u << v)) {
                step_.cells.push_back(cell);
            }
        }
        if (Finish()) return true;
    }
    return false;
}

// Claiming: the places of a value in a row (or column) all lie in one box, so the
// value leaves the rest of that box.
bool StepFinder::Claiming(std::int32_t line, std::int32_t v) {
    const std::uint32_t pos = positions_[line][v];
    if (pos == 0) return false;
    const std::uint32_t segment = (1u << b_) - 1u;
    std::int32_t only = -1;
    for (std::int32_t k = 0; k < b_; ++k) {
        if (((pos >> (k * b_)) & segment) == 0) continue;
        if (only >= 0) return false;
        only = k;
    }
    const std::int32_t box = g_.BoxOf(g_.UnitCell(line, only * b_));
    Begin(Technique::LockedCandidates);
    AddUnit(line);
    AddUnit(2 * n_ + box);
    step_.values = 1u << v;
    for (std::int32_t i = 0; i < n_; ++i) {
        const std::int32_t cell = g_.UnitCell(2 * n_ + box, i);
        const bool inLine = line < n_ ? g_.RowOf(cell) == line : g_.ColumnOf(cell) == line - n_;
        if (!inLine) {
            Eliminate(cell, 1u << v);
        } else if (g_.Candidates(cell) & (1u << v)) {
            step_.cells.push_back(cell);
        }
    }
    return Finish();
}

// Looks for k items whose masks join to exactly k bits, and asks AcceptCombination
// whether they take anything out; `chosen` has bit i for item i.
bool StepFinder::Combine(std::int32_t k, std::int32_t start, std::int32_t depth, std::uint32_t joined,
                         std::uint32_t chosen) {
    if (depth == k) return BitCount(joined) == k && AcceptCombination(chosen, joined);
    for (std::int32_t i = start; i <= itemCount_ - (k - depth); ++i) {
        const std::uint32_t next = joined | masks_[i];
        if (BitCount(next) > k) continue;
        if (Combine(k, i + 1, depth + 1, next, chosen | (1u << i))) return true;
    }
    return false;
}

bool StepFinder::AcceptCombination(std::uint32_t chosen, std::uint32_t joined) {
    const std::int32_t k = BitCount(chosen);
    if (pattern_ == Pattern::NakedSubset) {
        // k cells holding only k values: no other cell of the unit can have them.
        Begin(static_cast<Technique>(static_cast<int>(Technique::NakedPair) + 2 * (k - 2)));
        AddUnit(unit_);
        step_.values = joined;
        std::uint32_t inSubset = 0;
        for (std::uint32_t m = chosen; m != 0; m &= m - 1) inSubset |= 1u << items_[LowIndex(m)];
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t cell = g_.UnitCell(unit_, i);
            if (inSubset & (1u << i)) {
                step_.cells.push_back(cell);
            } else {
                Eliminate(cell, joined);
            }
        }
        return Finish();
    }
    if (pattern_ == Pattern::HiddenSubset) {
        // k values with only k places: those places can hold nothing else.
        Begin(static_cast<Technique>(static_cast<int>(Technique::HiddenPair) + 2 * (k - 2)));
        AddUnit(unit_);
        std::uint32_t values = 0;
        for (std::uint32_t m = chosen; m != 0; m &= m - 1) values |= 1u << items_[LowIndex(m)];
        step_.values = values;
        for (std::uint32_t m = joined; m != 0; m &= m - 1) {
            const std::int32_t cell = g_.UnitCell(unit_, LowIndex(m));
            step_.cells.push_back(cell);
            Eliminate(cell, ~values);
        }
        return Finish();
    }
    // Fish: in k base lines the value's places lie in k cover lines; each base line
    // takes the value in one of them, so the cover lines have it nowhere else.
    Begin(static_cast<Technique>(static_cast<int>(Technique::XWing) + (k - 2)));
    step_.values = 1u << value_;
    std::uint32_t baseLines = 0;
    for (std::uint32_t m = chosen; m != 0; m &= m - 1) {
        const std::int32_t line = items_[LowIndex(m)];
        baseLines |= 1u << line;
        AddUnit(unit_ + line);
    }
    for (std::uint32_t m = joined; m != 0; m &= m - 1) AddUnit(coverBase_ + LowIndex(m));
    for (std::uint32_t m = joined; m != 0; m &= m - 1) {
        const std::int32_t cover = coverBase_ + LowIndex(m);
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t cell = g_.UnitCell(cover, i);
            if (baseLines & (1u << i)) {
                if (g_.Candidates(cell) & (1u << value_)) step_.cells.push_back(cell);
            } else {
                Eliminate(cell, 1u << value_);
            }
        }
    }
    std::sort(step_.cells.begin(), step_.cells.end());
    return Finish();
}

bool StepFinder::NakedSubset(std::int32_t k) {
    pattern_ = Pattern::NakedSubset;
    for (std::int32_t i = 0; i < 3 * n_; ++i) {
        unit_ = ScanUnit(i, n_);
        itemCount_ = 0;
        for (std::int32_t p = 0; p < n_; ++p) {
            const std::uint32_t m = g_.Candidates(g_.UnitCell(unit_, p));
            const int count = BitCount(m);
            if (count < 2 || count > k) continue;
            items_[itemCount_] = p;
            masks_[itemCount_++] = m;
        }
        if (itemCount_ >= k && Combine(k, 0, 0, 0, 0)) return true;
    }
    return false;
}

bool StepFinder::HiddenSubset(std::int32_t k) {
    pattern_ = Pattern::HiddenSubset;
    for (std::int32_t i = 0; i < 3 * n_; ++i) {
        unit_ = ScanUnit(i, n_);
        itemCount_ = 0;
        for (std::int32_t v = 0; v < n_; ++v) {
            const std::uint32_t m = positions_[unit_][v];
            const int count = BitCount(m);
            if (count < 2 || count > k) continue;
            items_[itemCount_] = v;
            masks_[itemCount_++] = m;
        }
        if (itemCount_ >= k && Combine(k, 0, 0, 0, 0)) return true;
    }
    return false;
}

bool StepFinder::Fish(std::int32_t k) {
    pattern_ = Pattern::Fish;
    for (std::int32_t v = 0; v < n_; ++v) {
        for (std::int32_t columns = 0; columns < 2; ++columns) {
            unit_ = columns ? n_ : 0;
            coverBase_ = columns ? 0 : n_;
            value_ = v;
            itemCount_ = 0;
            for (std::int32_t line = 0; line < n_; ++line) {
                const std::uint32_t m = positions_[unit_ + line][v];
                const int count = BitCount(m);
                if (count < 2 || count > k) continue;
                items_[itemCount_] = line;
                masks_[itemCount_++] = m;
            }
            if (itemCount_ >= k && Combine(k, 0, 0, 0, 0)) return true;
        }
    }
    return false;
}

// XY-wing: a pivot with candidates {x, y} sees a pincer {x, z} and a pincer {y, z}.
// Whichever the pivot takes, one pincer is z, so no cell that sees both pincers is z.
bool StepFinder::XYWing() {
    for (std::int32_t pivot = 0; pivot < n_ * n_; ++pivot) {
        const std::uint32_t p = g_.Candidates(pivot);
        if (BitCount(p) != 2) continue;
        for (std::int32_t a = 0; a < n_ * n_; ++a) {
            const std::uint32_t am = g_.Candidates(a);
            if (BitCount(am) != 2 || !IsSingle(am & p) || !g_.Sees(pivot, a)) continue;
            const std::uint32_t z = am & ~p;
            const std::uint32_t bm = (p & ~am) | z;
            for (std::int32_t c = a + 1; c < n_ * n_; ++c) {
                if (g_.Candidates(c) != bm || !g_.Sees(pivot, c)) continue;
                Begin(Technique::XYWing);
                step_.values = p | z;
                step_.cells.insert(step_.cells.end(), {pivot, a, c});
                AddShared(pivot, a);
                AddShared(pivot, c);
                for (std::int32_t cell = 0; cell < n_ * n_; ++cell) {
                    if (g_.Sees(cell, a) && g_.Sees(cell, c)) Eliminate(cell, z);
                }
                if (Finish()) return true;
            }
        }
    }
    return false;
}

// XYZ-wing: a pivot {x, y, z} sees a pincer {x, z} and a pincer {y, z}. One of the
// three is z, so no cell that sees all three is z.
bool StepFinder::XYZWing() {
    for (std::int32_t pivot = 0; pivot < n_ * n_; ++pivot) {
        const std::uint32_t p = g_.Candidates(pivot);
        if (BitCount(p) != 3) continue;
        for (std::int32_t a = 0; a < n_ * n_; ++a) {
            const std::uint32_t am = g_.Candidates(a);
            if (BitCount(am) != 2 || (am & ~p) != 0 || !g_.Sees(pivot, a)) continue;
            for (std::int32_t c = a + 1; c < n_ * n_; ++c) {
                const std::uint32_t cm = g_.Candidates(c);
                if (BitCount(cm) != 2 || (cm & ~p) != 0 || cm == am || !g_.Sees(pivot, c)) continue;
                const std::uint32_t z = am & cm;
                Begin(Technique::XYZWing);
                step_.values = p;
                step_.cells.insert(step_.cells.end(), {pivot, a, c});
                AddShared(pivot, a);
                AddShared(pivot, c);
                for (std::int32_t cell = 0; cell < n_ * n_; ++cell) {
                    if (g_.Sees(cell, pivot) && g_.Sees(cell, a) && g_.Sees(cell, c)) Eliminate(cell, z);
                }
                if (Finish()) return true;
            }
        }
    }
    return false;
}

StepSearch StepFinder::Find(Technique hardest) {
    if (n_ == 0) return StepSearch::None;
    if (!Tabulate()) return StepSearch::Contradiction;
    if (g_.EmptyCells() == 0) return StepSearch::None;
    for (int t = 0; t <= static_cast<int>(hardest); ++t) {
        bool found = false;
        switch (static_cast<Technique>(t)) {
            case Technique::NakedSingle:
                found = NakedSingle();
                break;
            case Technique::HiddenSingle:
                found = HiddenSingle();
                break;
            case Technique::LockedCandidates:
                found = LockedCandidates();
                break;
            case Technique::NakedPair:
            case Technique::NakedTriple:
            case Technique::NakedQuad:
                found = NakedSubset(2 + (t - static_cast<int>(Technique::NakedPair)) / 2);
                break;
            case Technique::HiddenPair:
            case Technique::HiddenTriple:
            case Technique::HiddenQuad:
                found = HiddenSubset(2 + (t - static_cast<int>(Technique::HiddenPair)) / 2);
                break;
            case Technique::XWing:
            case Technique::Swordfish:
            case Technique::Jellyfish:
                found = Fish(2 + t - static_cast<int>(Technique::XWing));
                break;
            case Technique::XYWing:
                found = XYWing();
                break;
            case Technique::XYZWing:
                found = XYZWing();
                break;
        }
        if (found) return StepSearch::Found;
    }
    return StepSearch::None;
}

// Places every naked single, then every hidden single, as long as there are any.
// False on a contradiction; `hardest` grows to the single kind used.
bool PlaceSingles(LogicGrid& grid, Technique& hardest) {
    const std::int32_t n = grid.Size();
    const std::uint32_t all = (1u << n) - 1u;
    for (bool placed = true; placed;) {
        placed = false;
        for (std::int32_t cell = 0; cell < n * n; ++cell) {
            if (grid.Value(cell) != 0) continue;
            const std::uint32_t m = grid.Candidates(cell);
            if (m == 0) return false;
            if (!IsSingle(m)) continue;
            grid.Place(cell, LowIndex(m) + 1);
            placed = true;
        }
        if (placed) continue;
        for (std::int32_t u = 0; u < 3 * n; ++u) {
            std::uint32_t once = 0;
            std::uint32_t twice = 0;
            std::uint32_t filled = 0;
            for (std::int32_t i = 0; i < n; ++i) {
                const std::int32_t cell = grid.UnitCell(u, i);
                if (grid.Value(cell) != 0) {
                    filled |= 1u << (grid.Value(cell) - 1);
                    continue;
                }
                const std::uint32_t m = grid.Candidates(cell);
                twice |= once & m;
                once |= m;
            }
            if ((once | filled) != all) return false;
            const std::uint32_t hidden = once & ~twice & ~filled;
            if (hidden == 0) continue;
            for (std::int32_t i = 0; i < n; ++i) {
                const std::int32_t cell = grid.UnitCell(u, i);
                const std::uint32_t m = grid.Candidates(cell) & hidden;
                if (m == 0) continue;
                if (!IsSingle(m)) return false;  // one cell the only place of two values
                grid.Place(cell, LowIndex(m) + 1);
            }
            placed = true;
            if (hardest < Technique::HiddenSingle) hardest = Technique::HiddenSingle;
        }
    }
    return true;
}

}  // namespace

namespace {

// Each technique's name in the tool's output and its title in a sentence.
struct TechniqueWords {
    const char* name;
    const char* title;
};
constexpr TechniqueWords kTechniqueWords[kTechniqueCount] = {
    {"naked-single", "Naked single"},   {"hidden-single", "Hidden single"}, {"locked-candidates", "Locked candidates"},
    {"naked-pair", "Naked pair"},       {"hidden-pair", "Hidden pair"},     {"naked-triple", "Naked triple"},
    {"hidden-triple", "Hidden triple"}, {"naked-quad", "Naked quad"},       {"hidden-quad", "Hidden quad"},
    {"x-wing", "X-wing"},               {"swordfish", "Swordfish"},         {"jellyfish", "Jellyfish"},
    {"xy-wing", "XY-wing"},             {"xyz-wing", "XYZ-wing"},
};

const TechniqueWords* WordsOf(Technique technique) {
    const auto index = static_cast<std::size_t>(technique);
    return index < static_cast<std::size_t>(kTechniqueCount) ? &kTechniqueWords[index] : nullptr;
}

}  // namespace

const char* TechniqueName(Technique technique) {
    const TechniqueWords* words = WordsOf(technique);
    return words ? words->name : "unknown";
}

const char* TechniqueTitle(Technique technique) {
    const TechniqueWords* words = WordsOf(technique);
    return words ? words->title : "Step";
}

bool LogicGrid::Load(const Grid& values, std::int32_t boxSize) {
    if (boxSize < kLogicMinBoxSize || boxSize > kLogicMaxBoxSize) return false;
    const std::int32_t n = boxSize * boxSize;
    if (!HasShape(values, n)) return false;
    for (const auto& line : values) {
        for (const std::int32_t v : line) {
            if (v < 0 || v > n) return false;
        }
    }
    boxSize_ = boxSize;
    n_ = n;
    clash_ = false;
    empty_ = 0;
    std::uint32_t used[kMaxUnits] = {};
    for (std::int32_t cell = 0; cell < n * n; ++cell) {
        const std::int32_t v = values[cell / n][cell % n];
        values_[cell] = static_cast<std::uint8_t>(v);
        if (v == 0) {
            ++empty_;
            continue;
        }
        const std::uint32_t bit = 1u << (v - 1);
        for (const std::int32_t u : {RowOf(cell), n + ColumnOf(cell), 2 * n + BoxOf(cell)}) {
            if (used[u] & bit) clash_ = true;
            used[u] |= bit;
        }
    }
    const std::uint32_t all = (1u << n) - 1u;
    for (std::int32_t cell = 0; cell < n * n; ++cell) {
        candidates_[cell] =
            values_[cell] != 0
                ? 0u
                : all & ~(used[RowOf(cell)] | used[n + ColumnOf(cell)] | used[2 * n + BoxOf(cell)]);
    }
    return true;
}

void LogicGrid::Place(std::int32_t cell, std::int32_t value) {
    if (cell < 0 || cell >= n_ * n_ || value < 1 || value > n_ || values_[cell] != 0) return;
    if ((candidates_[cell] & (1u << (value - 1))) == 0) clash_ = true;  // a value its peers or steps ruled out
    values_[cell] = static_cast<std::uint8_t>(value);
    candidates_[cell] = 0;
    --empty_;
    const std::uint32_t keep = ~(1u << (value - 1));
    const std::int32_t row = RowOf(cell);
    const std::int32_t column = ColumnOf(cell);
    for (std::int32_t i = 0; i < n_; ++i) {
        candidates_[row * n_ + i] &= keep;
        candidates_[i * n_ + column] &= keep;
        candidates_[UnitCell(2 * n_ + BoxOf(cell), i)] &= keep;
    }
}

bool LogicGrid::Eliminate(std::int32_t cell, std::int32_t value) {
    if (cell < 0 || cell >= n_ * n_ || value < 1 || value > n_) return false;
    const std::uint32_t bit = 1u << (value - 1);
    if ((candidates_[cell] & bit) == 0) return false;
    candidates_[cell] &= ~bit;
    return true;
}

void LogicGrid::Apply(const LogicStep& step) {
    if (step.IsPlacement()) {
        Place(step.placeCell, step.placeValue);
        return;
    }
    for (const Elimination& e : step.eliminations) Eliminate(e.cell, e.value);
}

Grid LogicGrid::Values() const {
    Grid grid(static_cast<std::size_t>(n_), std::vector<std::int32_t>(static_cast<std::size_t>(n_), 0));
    for (std::int32_t cell = 0; cell < n_ * n_; ++cell) grid[cell / n_][cell % n_] = values_[cell];
    return grid;
}

StepSearch FindNextStep(const LogicGrid& grid, LogicStep& step, Technique hardest) {
    StepFinder finder(grid, step);
    return finder.Find(hardest);
}

LogicGrade SolveBySteps(LogicGrid& grid, Technique hardest) {
    LogicGrade grade;
    LogicStep step;
    for (;;) {
        const StepSearch found = FindNextStep(grid, step, hardest);
        if (found != StepSearch::Found) {
            grade.outcome = found == StepSearch::Contradiction ? LogicOutcome::Contradiction
                            : grid.EmptyCells() == 0           ? LogicOutcome::Solved
                                                               : LogicOutcome::Stuck;
            break;
        }
        grid.Apply(step);
        ++grade.steps;
        ++grade.counts[static_cast<std::size_t>(step.technique)];
        grade.hardest = std::max(grade.hardest, step.technique);
    }
    grade.emptyLeft = grid.EmptyCells();
    return grade;
}

LogicGrade GradeQuickly(LogicGrid& grid, Technique hardest) {
    LogicGrade grade;
    LogicStep step;
    Technique used = Technique::NakedSingle;
    for (;;) {
        if (grid.HasClash() || !PlaceSingles(grid, used)) {
            grade.outcome = LogicOutcome::Contradiction;
            break;
        }
        if (grid.EmptyCells() == 0) {
            grade.outcome = LogicOutcome::Solved;
            break;
        }
        const StepSearch found = FindNextStep(grid, step, hardest);
        if (found != StepSearch::Found) {
            grade.outcome =
                found == StepSearch::Contradiction ? LogicOutcome::Contradiction : LogicOutcome::Stuck;
            break;
        }
        grid.Apply(step);
        used = std::max(used, step.technique);
    }
    grade.hardest = used;
    grade.emptyLeft = grid.EmptyCells();
    return grade;
}

std::string CellName(std::int32_t cell, std::int32_t n) {
    if (n <= 0) return "r?c?";
    return "r" + std::to_string(cell / n + 1) + "c" + std::to_string(cell % n + 1);
}

std::string StepText(const LogicStep& step, std::int32_t n) {
    std::string text = TechniqueName(step.technique);
    text += ':';
    if (step.IsPlacement()) {
        text += ' ' + CellName(step.placeCell, n) + '=' + std::to_string(step.placeValue);
        return text;
    }
    for (const Elimination& e : step.eliminations)
        text += ' ' + CellName(e.cell, n) + '-' + std::to_string(e.value);
    return text;
}
