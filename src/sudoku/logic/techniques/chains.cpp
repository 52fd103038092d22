// Chains: colouring by clusters of one value's conjugate pairs; X-, XY- and alternating
// chains by a breadth-first search from every end of a strong link, over the candidates
// (and, for the alternating chain, the groups of a box on a line).
#include "sudoku/logic/techniques/chains.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr std::int32_t kMaxChainNodes = 16;

ChainNode CellNode(std::int32_t cell, std::int32_t value, std::int32_t colour) {
    ChainNode node;
    node.value = value;
    node.count = 1;
    node.cells[0] = cell;
    node.colour = colour;
    return node;
}

// ---- Colouring ----

// One value's cluster: the cells joined to its first by conjugate pairs, each coloured 0
// or 1 so that the two cells of every pair differ.
struct Cluster {
    std::int32_t value = 0;
    std::vector<std::int32_t> cells;
    std::vector<ChainLink> links;        // the pairs that coloured them, in order
    std::vector<std::int32_t> colourOf;  // per cell of the grid: -1 outside, else 0 or 1
    std::vector<std::int32_t> idOf;      // per cell: the cluster it was coloured in, -1 for none
};

// The other place of value v (1..N) in a unit that has exactly two, else -1.
std::int32_t ConjugateIn(const SearchGrid& search, std::int32_t unit, std::int32_t v, std::int32_t cell) {
    const std::uint32_t places = search.positions[unit][v - 1];
    if (BitCount(places) != 2) return -1;
    for (std::uint32_t m = places; m != 0; m &= m - 1) {
        const std::int32_t other = search.Units().UnitCell(unit, LowestBitIndex(m));
        if (other != cell) return other;
    }
    return -1;
}

void ColourCluster(const SearchGrid& search, std::int32_t id, std::int32_t start, Cluster& cluster) {
    const GridUnits& units = search.Units();
    const std::int32_t v = cluster.value;
    cluster.cells.assign(1, start);
    cluster.links.clear();
    cluster.colourOf[start] = 0;
    cluster.idOf[start] = id;
    for (std::size_t i = 0; i < cluster.cells.size(); ++i) {
        const std::int32_t cell = cluster.cells[i];
        for (const std::int32_t unit : {units.RowUnit(cell), units.ColumnUnit(cell), units.BoxUnit(cell)}) {
            const std::int32_t other = ConjugateIn(search, unit, v, cell);
            if (other < 0 || cluster.idOf[other] >= 0) continue;
            cluster.colourOf[other] = 1 - cluster.colourOf[cell];
            cluster.idOf[other] = id;
            cluster.cells.push_back(other);
            cluster.links.push_back(ChainLink{CellNode(cell, v, cluster.colourOf[cell]),
                                              CellNode(other, v, cluster.colourOf[other]), true});
        }
    }
}

// Calls visit(cluster, id) for every cluster of two or more cells, by value and then
// first cell, until it returns true.
template <typename Visit>
bool ForEachCluster(const SearchGrid& search, const Visit& visit) {
    const GridUnits& units = search.Units();
    const std::int32_t cells = search.grid.CellCount();
    Cluster cluster;
    for (std::int32_t v = 1; v <= search.Side(); ++v) {
        cluster.value = v;
        cluster.colourOf.assign(static_cast<std::size_t>(cells), -1);
        cluster.idOf.assign(static_cast<std::size_t>(cells), -1);
        for (std::int32_t start = 0; start < cells; ++start) {
            if (cluster.idOf[start] >= 0 || (search.grid.Candidates(start) & (1u << (v - 1))) == 0) continue;
            bool paired = false;
            for (const std::int32_t unit :
                 {units.RowUnit(start), units.ColumnUnit(start), units.BoxUnit(start)})
                paired = paired || ConjugateIn(search, unit, v, start) >= 0;
            if (!paired) continue;
            ColourCluster(search, start, start, cluster);
            if (visit(cluster, start)) return true;
        }
    }
    return false;
}

StepWriter ClusterStep(const SearchGrid& search, LogicStep& step, Technique technique,
                       const Cluster& cluster) {
    StepWriter writer(search.grid, step, technique);
    writer.SetValues(1u << (cluster.value - 1));
    for (const std::int32_t cell : cluster.cells) writer.AddCell(cell);
    step.chain = cluster.links;
    return writer;
}

}  // namespace

// Two cells of one colour that see each other cannot both be the value, so that
// colour is false throughout and every cell of it loses the value.
bool FindColourWrap(const SearchGrid& search, LogicStep& step) {
    const GridUnits& units = search.Units();
    return ForEachCluster(search, [&](const Cluster& cluster, std::int32_t) {
        const std::int32_t v = cluster.value;
        for (std::size_t i = 0; i < cluster.cells.size(); ++i) {
            for (std::size_t j = i + 1; j < cluster.cells.size(); ++j) {
                const std::int32_t a = cluster.cells[i];
                const std::int32_t b = cluster.cells[j];
                const std::int32_t colour = cluster.colourOf[a];
                if (cluster.colourOf[b] != colour || !units.Sees(a, b)) continue;
                StepWriter writer = ClusterStep(search, step, Technique::ColourWrap, cluster);
                step.chain.push_back(ChainLink{CellNode(a, v, colour), CellNode(b, v, colour), false});
                for (const std::int32_t cell : cluster.cells) {
                    if (cluster.colourOf[cell] == colour) writer.Eliminate(cell, 1u << (v - 1));
                }
                return writer.Finish();
            }
        }
        return false;
    });
}

// One of the two colours is true, so a cell outside the cluster that sees a cell of
// each colour is not the value.
bool FindColourTrap(const SearchGrid& search, LogicStep& step) {
    const GridUnits& units = search.Units();
    const std::int32_t cells = search.grid.CellCount();
    return ForEachCluster(search, [&](const Cluster& cluster, std::int32_t id) {
        const std::int32_t v = cluster.value;
        std::vector<ChainLink> sights;  // from a cell of each colour to a cell that sees both
        for (std::int32_t cell = 0; cell < cells; ++cell) {
            if (cluster.idOf[cell] == id || (search.grid.Candidates(cell) & (1u << (v - 1))) == 0) continue;
            std::int32_t seen[2] = {-1, -1};
            for (const std::int32_t member : cluster.cells) {
                if (seen[cluster.colourOf[member]] < 0 && units.Sees(cell, member))
                    seen[cluster.colourOf[member]] = member;
            }
            if (seen[0] < 0 || seen[1] < 0) continue;
            for (const std::int32_t colour : {0, 1})
                sights.push_back(
                    ChainLink{CellNode(seen[colour], v, colour), CellNode(cell, v, 1 - colour), false});
        }
        if (sights.empty()) return false;
        StepWriter writer = ClusterStep(search, step, Technique::ColourTrap, cluster);
        for (std::size_t i = 0; i < sights.size(); i += 2)
            writer.Eliminate(sights[i].to.cells[0], 1u << (v - 1));
        step.chain.insert(step.chain.end(), sights.begin(), sights.end());
        return writer.Finish();
    });
}

namespace {

// ---- Chains ----

enum class ChainKind {
    SingleValue,  // X-chain: one value's conjugate pairs and the cells that see each other
    Bivalue,      // XY-chain: strong inside cells of two candidates, weak between them
    Alternating,  // every link, groups of a box on a line too
};

// The search for the shortest chain of a kind. A node is a candidate (cell * N + v - 1)
// or a group (a box's places of v on one of its rows or columns, two or more of them).
// Only nodes with a strong link can be in a chain: the search numbers those and tabulates
// their strong links and the weak links between them once, then searches from each.
class ChainSearch {
public:
    ChainSearch(const SearchGrid& search, ChainKind kind)
        : search_(search),
          units_(search.Units()),
          kind_(kind),
          n_(search.Side()),
          b_(search.grid.BoxSize()),
          groupBase_(n_ * n_ * n_),
          nodeCount_(groupBase_ + 2 * b_ * n_ * n_) {
        TabulateStrongLinks();
        TabulateWeakLinks();
        depth_.assign(nodes_.size(), 0);
        parent_.assign(nodes_.size(), -1);
        stamp_.assign(nodes_.size(), 0);
    }

    bool Find(Technique technique, LogicStep& step) {
        for (std::size_t start = 0; start < nodes_.size() && best_ > 2; ++start)
            Search(static_cast<std::int32_t>(start));
        if (bestPath_.empty()) return false;
        StepWriter writer(search_.grid, step, technique);
        std::uint32_t values = 0;
        for (std::size_t i = 0; i + 1 < bestPath_.size(); ++i) {
            const auto colour = static_cast<std::int32_t>(i % 2);
            step.chain.push_back(
                ChainLink{NodeOf(bestPath_[i], colour), NodeOf(bestPath_[i + 1], 1 - colour), i % 2 == 0});
        }
        for (const std::int32_t id : bestPath_) {
            const ChainNode node = NodeOf(id, 0);
            values |= 1u << (node.value - 1);
            for (std::int32_t i = 0; i < node.count; ++i) {
                if (std::find(step.cells.begin(), step.cells.end(), node.cells[i]) == step.cells.end())
                    writer.AddCell(node.cells[i]);
            }
        }
        writer.SetValues(values);
        for (const Elimination& e : bestEliminations_) writer.Eliminate(e.cell, 1u << (e.value - 1));
        return writer.Finish();
    }

private:
    std::int32_t Candidate(std::int32_t cell, std::int32_t v) const { return cell * n_ + v - 1; }
    // dir 0: the box's k-th row; dir 1: its k-th column.
    std::int32_t Group(std::int32_t box, std::int32_t dir, std::int32_t k, std::int32_t v) const {
        return groupBase_ + ((box * 2 + dir) * b_ + k) * n_ + v - 1;
    }
    // The places in a box (row by row) of its k-th row or column.
    std::uint32_t LineInBox(std::int32_t dir, std::int32_t k) const {
        std::uint32_t mask = 0;
        for (std::int32_t j = 0; j < b_; ++j) mask |= 1u << (dir == 0 ? k * b_ + j : j * b_ + k);
        return mask;
    }
    std::uint32_t GroupPlaces(std::int32_t box, std::int32_t dir, std::int32_t k, std::int32_t v) const {
        return search_.positions[2 * n_ + box][v - 1] & LineInBox(dir, k);
    }
    bool GroupExists(std::int32_t box, std::int32_t dir, std::int32_t k, std::int32_t v) const {
        return BitCount(GroupPlaces(box, dir, k, v)) >= 2;
    }

    ChainNode NodeOf(std::int32_t id, std::int32_t colour) const {
        if (id < groupBase_) return CellNode(id / n_, id % n_ + 1, colour);
        const std::int32_t g = id - groupBase_;
        const std::int32_t v = g % n_ + 1;
        const std::int32_t k = (g / n_) % b_;
        const std::int32_t dir = (g / n_ / b_) % 2;
        const std::int32_t box = g / n_ / b_ / 2;
        ChainNode node;
        node.value = v;
        node.colour = colour;
        for (std::uint32_t m = GroupPlaces(box, dir, k, v); m != 0 && node.count < kLogicMaxBoxSize;
             m &= m - 1)
            node.cells[node.count++] = units_.UnitCell(2 * n_ + box, LowestBitIndex(m));
        return node;
    }

    // The node of a unit's places of value v that lie in one box and one line: a
    // candidate for one place, else the group.
    std::int32_t SegmentNode(std::int32_t unit, std::uint32_t places, std::int32_t v,
                             std::int32_t dir) const {
        const std::int32_t first = units_.UnitCell(unit, LowestBitIndex(places));
        if (IsSingle(places)) return Candidate(first, v);
        if (unit < n_) return Group(units_.BoxOf(first), 0, units_.RowOf(first) % b_, v);
        if (unit < 2 * n_) return Group(units_.BoxOf(first), 1, units_.ColumnOf(first) % b_, v);
        const std::int32_t k = dir == 0 ? units_.RowOf(first) % b_ : units_.ColumnOf(first) % b_;
        return Group(unit - 2 * n_, dir, k, v);
    }

    // Strong between two segments when a unit's places of v fall into exactly two of them.
    void LinkTwoSegments(std::int32_t unit, std::uint32_t places, std::int32_t v, std::int32_t dir,
                         std::vector<std::pair<std::int32_t, std::int32_t>>& links) const {
        std::uint32_t found[2] = {};
        std::int32_t count = 0;
        for (std::int32_t s = 0; s < b_; ++s) {
            const std::uint32_t mask = unit < 2 * n_ ? ((1u << b_) - 1u) << (s * b_) : LineInBox(dir, s);
            if ((places & mask) == 0) continue;
            if (count == 2) return;
            found[count++] = places & mask;
        }
        if (count != 2) return;
        const std::int32_t a = SegmentNode(unit, found[0], v, dir);
        const std::int32_t c = SegmentNode(unit, found[1], v, dir);
        links.emplace_back(a, c);
        links.emplace_back(c, a);
    }

    void TabulateStrongLinks() {
        std::vector<std::pair<std::int32_t, std::int32_t>> links;
        for (std::int32_t v = 1; v <= n_ && kind_ != ChainKind::Bivalue; ++v) {
            for (std::int32_t unit = 0; unit < 3 * n_; ++unit) {
                const std::uint32_t places = search_.positions[unit][v - 1];
                if (BitCount(places) == 2) {
                    const std::int32_t a = Candidate(units_.UnitCell(unit, LowestBitIndex(places)), v);
                    const std::int32_t c =
                        Candidate(units_.UnitCell(unit, LowestBitIndex(places & (places - 1))), v);
                    links.emplace_back(a, c);
                    links.emplace_back(c, a);
                } else if (BitCount(places) > 2 && kind_ == ChainKind::Alternating) {
                    LinkTwoSegments(unit, places, v, 0, links);
                    if (unit >= 2 * n_) LinkTwoSegments(unit, places, v, 1, links);
                }
            }
        }
        for (std::int32_t cell = 0; cell < n_ * n_ && kind_ != ChainKind::SingleValue; ++cell) {
            const std::uint32_t m = search_.grid.Candidates(cell);
            if (BitCount(m) != 2) continue;
            const std::int32_t a = Candidate(cell, LowestValue(m));
            const std::int32_t c = Candidate(cell, LowestValue(m & (m - 1)));
            links.emplace_back(a, c);
            links.emplace_back(c, a);
        }
        std::sort(links.begin(), links.end());
        links.erase(std::unique(links.begin(), links.end()), links.end());
        // The search numbers the nodes with strong links in order (only they can be in a
        // chain) and keeps its links by those numbers.
        nodes_.clear();
        indexOf_.assign(static_cast<std::size_t>(nodeCount_), -1);
        for (const auto& link : links) {
            if (!nodes_.empty() && nodes_.back() == link.first) continue;
            indexOf_[link.first] = static_cast<std::int32_t>(nodes_.size());
            nodes_.push_back(link.first);
        }
        strongStart_.assign(nodes_.size() + 1, 0);
        strongTo_.clear();
        std::size_t at = 0;
        for (const auto& link : links) {
            while (nodes_[at] != link.first) strongStart_[++at] = static_cast<std::int32_t>(strongTo_.size());
            strongTo_.push_back(IndexOf(link.second));
        }
        strongStart_[nodes_.size()] = static_cast<std::int32_t>(strongTo_.size());
        for (std::size_t i = at + 1; i < nodes_.size(); ++i) strongStart_[i] = strongStart_[nodes_.size()];
    }

    // A node's number in the search; -1 for one without strong links.
    std::int32_t IndexOf(std::int32_t id) const { return indexOf_[id]; }

    // Between nodes with strong links only: a chain alternates, so no other node is of use.
    void TabulateWeakLinks() {
        weakStart_.assign(nodes_.size() + 1, 0);
        weakTo_.clear();
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            weakStart_[i] = static_cast<std::int32_t>(weakTo_.size());
            ForEachWeak(nodes_[i], [&](std::int32_t next) {
                const std::int32_t index = IndexOf(next);
                if (index >= 0) weakTo_.push_back(index);
            });
        }
        weakStart_[nodes_.size()] = static_cast<std::int32_t>(weakTo_.size());
    }

    // Calls visit(id) for the nodes weakly linked to a node.
    template <typename Visit>
    void ForEachWeak(std::int32_t id, const Visit& visit) const {
        if (id < groupBase_) {
            const std::int32_t cell = id / n_;
            const std::int32_t v = id % n_ + 1;
            const std::uint32_t bit = 1u << (v - 1);
            const std::uint16_t* peers = units_.Peers(cell);
            for (std::int32_t k = 0; k < units_.PeerCount(); ++k) {
                if (search_.grid.Candidates(peers[k]) & bit) visit(Candidate(peers[k], v));
            }
            if (kind_ != ChainKind::Alternating) return;
            for (std::uint32_t m = search_.grid.Candidates(cell) & ~bit; m != 0; m &= m - 1)
                visit(Candidate(cell, LowestValue(m)));
            VisitGroupsSeenBy(cell, v, visit);
            return;
        }
        VisitSeenByGroup(id, visit);
    }

    template <typename Visit>
    void VisitGroupsSeenBy(std::int32_t cell, std::int32_t v, const Visit& visit) const {
        const std::int32_t row = units_.RowOf(cell);
        const std::int32_t column = units_.ColumnOf(cell);
        const std::int32_t box = units_.BoxOf(cell);
        for (std::int32_t s = 0; s < b_; ++s) {
            const std::int32_t alongRow = (row / b_) * b_ + s;
            const std::int32_t alongColumn = s * b_ + column / b_;
            if (alongRow != box && GroupExists(alongRow, 0, row % b_, v))
                visit(Group(alongRow, 0, row % b_, v));
            if (alongColumn != box && GroupExists(alongColumn, 1, column % b_, v))
                visit(Group(alongColumn, 1, column % b_, v));
            if (s != row % b_ && GroupExists(box, 0, s, v)) visit(Group(box, 0, s, v));
            if (s != column % b_ && GroupExists(box, 1, s, v)) visit(Group(box, 1, s, v));
        }
    }

    template <typename Visit>
    void VisitSeenByGroup(std::int32_t id, const Visit& visit) const {
        const std::int32_t g = id - groupBase_;
        const std::int32_t v = g % n_ + 1;
        const std::int32_t k = (g / n_) % b_;
        const std::int32_t dir = (g / n_ / b_) % 2;
        const std::int32_t box = g / n_ / b_ / 2;
        const std::int32_t line = dir == 0 ? (box / b_) * b_ + k : n_ + (box % b_) * b_ + k;
        for (std::uint32_t m = search_.positions[line][v - 1]; m != 0; m &= m - 1) {
            const std::int32_t cell = units_.UnitCell(line, LowestBitIndex(m));
            if (units_.BoxOf(cell) != box) visit(Candidate(cell, v));
        }
        for (std::uint32_t m = search_.positions[2 * n_ + box][v - 1] & ~LineInBox(dir, k); m != 0;
             m &= m - 1)
            visit(Candidate(units_.UnitCell(2 * n_ + box, LowestBitIndex(m)), v));
        const std::uint32_t own = GroupPlaces(box, dir, k, v);
        for (std::int32_t s = 0; s < b_; ++s) {
            const std::int32_t along = dir == 0 ? (box / b_) * b_ + s : s * b_ + box % b_;
            if (along != box && GroupExists(along, dir, k, v)) visit(Group(along, dir, k, v));
            if (s != k && GroupExists(box, dir, s, v)) visit(Group(box, dir, s, v));
            if (GroupExists(box, 1 - dir, s, v) && (GroupPlaces(box, 1 - dir, s, v) & own) == 0)
                visit(Group(box, 1 - dir, s, v));
        }
    }

    // Whether a cell sees every cell of a node and is none of them.
    bool SeesAll(std::int32_t cell, const ChainNode& node) const {
        for (std::int32_t i = 0; i < node.count; ++i) {
            if (!units_.Sees(cell, node.cells[i])) return false;
        }
        return true;
    }

    // The cells other than the start's own that hold its value and see all of its
    // cells: what a chain from it may take that value from.
    void TakeStart(std::int32_t start) {
        start_ = NodeOf(start, 0);
        seers_.clear();
        const std::uint32_t bit = 1u << (start_.value - 1);
        const std::uint16_t* peers = units_.Peers(start_.cells[0]);
        for (std::int32_t k = 0; k < units_.PeerCount(); ++k) {
            if ((search_.grid.Candidates(peers[k]) & bit) && SeesAll(peers[k], start_))
                seers_.push_back(peers[k]);
        }
    }

    // One of the two ends is true: what sees both (the same value in cells that see
    // every cell of both; two values of one cell; each end's value in the other's
    // cell) is false.
    void EliminationsOfEnds(std::int32_t last, std::vector<Elimination>& out) const {
        out.clear();
        const ChainNode& a = start_;
        const bool single = last < groupBase_;
        const std::int32_t value = single ? last % n_ + 1 : (last - groupBase_) % n_ + 1;
        if (a.value == value) {
            if (seers_.empty()) return;
            const ChainNode z = NodeOf(last, 0);
            for (const std::int32_t cell : seers_) {
                if (SeesAll(cell, z)) out.push_back(Elimination{cell, a.value});
            }
            return;
        }
        if (a.count != 1 || !single) return;
        const std::int32_t ac = a.cells[0];
        const std::int32_t zc = last / n_;
        if (ac == zc) {
            const std::uint32_t others =
                search_.grid.Candidates(ac) & ~(1u << (a.value - 1)) & ~(1u << (value - 1));
            for (std::uint32_t m = others; m != 0; m &= m - 1) out.push_back(Elimination{ac, LowestValue(m)});
        } else if (units_.Sees(ac, zc)) {
            if (search_.grid.Candidates(ac) & (1u << (value - 1))) out.push_back(Elimination{ac, value});
            if (search_.grid.Candidates(zc) & (1u << (a.value - 1))) out.push_back(Elimination{zc, a.value});
        }
    }

    void Enter(std::int32_t id, std::int32_t depth, std::int32_t parent) {
        stamp_[id] = generation_;
        depth_[id] = static_cast<std::int8_t>(depth);
        parent_[id] = parent;
        queue_.push_back(id);
    }

    // Breadth first from start taken as false: strong links lead to true nodes, weak
    // links from them to false ones. The first true node whose ends take something out
    // closes the shortest chain from start.
    void Search(std::int32_t start) {
        TakeStart(nodes_[start]);
        // One value throughout: only what sees the start can go.
        if (kind_ == ChainKind::SingleValue && seers_.empty()) return;
        ++generation_;
        queue_.clear();
        Enter(start, 0, -1);
        for (std::size_t head = 0; head < queue_.size(); ++head) {
            const std::int32_t id = queue_[head];
            const std::int32_t depth = depth_[id];
            if (depth % 2 == 0) {
                if (depth + 2 >= best_) continue;
                for (std::int32_t i = strongStart_[id]; i < strongStart_[id + 1]; ++i) {
                    const std::int32_t next = strongTo_[i];
                    if (stamp_[next] != generation_) Enter(next, depth + 1, id);
                }
                continue;
            }
            if (depth + 1 < best_) {
                EliminationsOfEnds(nodes_[id], scratch_);
                if (!scratch_.empty()) {
                    Keep(id, depth + 1);
                    return;
                }
            }
            if (depth + 3 >= best_) continue;
            for (std::int32_t i = weakStart_[id]; i < weakStart_[id + 1]; ++i) {
                const std::int32_t next = weakTo_[i];
                if (stamp_[next] != generation_) Enter(next, depth + 1, id);
            }
        }
    }

    void Keep(std::int32_t last, std::int32_t nodes) {
        best_ = nodes;
        bestEliminations_ = scratch_;
        bestPath_.clear();
        for (std::int32_t id = last; id >= 0; id = parent_[id]) bestPath_.push_back(nodes_[id]);
        std::reverse(bestPath_.begin(), bestPath_.end());
    }

    const SearchGrid& search_;
    const GridUnits& units_;
    ChainKind kind_;
    std::int32_t n_;
    std::int32_t b_;
    std::int32_t groupBase_;
    std::int32_t nodeCount_;
    std::vector<std::int32_t> nodes_;    // the nodes with strong links, in order
    std::vector<std::int32_t> indexOf_;  // per node: its place in nodes_, -1 for none
    std::vector<std::int32_t> strongStart_;
    std::vector<std::int32_t> strongTo_;
    std::vector<std::int32_t> weakStart_;
    std::vector<std::int32_t> weakTo_;
    std::vector<std::int8_t> depth_;
    std::vector<std::int32_t> parent_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t generation_ = 0;
    std::vector<std::int32_t> queue_;
    std::vector<Elimination> scratch_;
    ChainNode start_;                         // the start of the search under way
    std::vector<std::int32_t> seers_;         // and the cells that see it
    std::int32_t best_ = kMaxChainNodes + 1;  // nodes of the shortest chain kept
    std::vector<std::int32_t> bestPath_;
    std::vector<Elimination> bestEliminations_;
};

}  // namespace

bool FindXChain(const SearchGrid& search, LogicStep& step) {
    return ChainSearch(search, ChainKind::SingleValue).Find(Technique::XChain, step);
}

bool FindXYChain(const SearchGrid& search, LogicStep& step) {
    return ChainSearch(search, ChainKind::Bivalue).Find(Technique::XYChain, step);
}

bool FindAlternatingChain(const SearchGrid& search, LogicStep& step) {
    return ChainSearch(search, ChainKind::Alternating).Find(Technique::AlternatingChain, step);
}
