// The logic engine's grid: loading the candidates, placing and eliminating, and the
// text of a step.
#include "sudoku/logic/logic_grid.h"

bool LogicGrid::Load(const Grid& values, std::int32_t boxSize) {
    if (boxSize < kLogicMinBoxSize || boxSize > kLogicMaxBoxSize) return false;
    const std::int32_t n = boxSize * boxSize;
    if (!HasShape(values, n)) return false;
    for (const auto& line : values) {
        for (const std::int32_t v : line) {
            if (v < 0 || v > n) return false;
        }
    }
    units_ = GridUnits::OfBoxSide(boxSize);
    boxSize_ = boxSize;
    n_ = n;
    clash_ = false;
    empty_ = 0;
    std::uint32_t used[3 * kLogicMaxBoxSize * kLogicMaxBoxSize] = {};
    for (std::int32_t cell = 0; cell < n * n; ++cell) {
        const std::int32_t v = values[cell / n][cell % n];
        values_[cell] = static_cast<std::uint8_t>(v);
        if (v == 0) {
            ++empty_;
            continue;
        }
        const std::uint32_t bit = 1u << (v - 1);
        for (const std::int32_t u :
             {units_->RowUnit(cell), units_->ColumnUnit(cell), units_->BoxUnit(cell)}) {
            if (used[u] & bit) clash_ = true;
            used[u] |= bit;
        }
    }
    const std::uint32_t all = (1u << n) - 1u;
    for (std::int32_t cell = 0; cell < n * n; ++cell) {
        candidates_[cell] = values_[cell] != 0
                                ? 0u
                                : all & ~(used[units_->RowUnit(cell)] | used[units_->ColumnUnit(cell)] |
                                          used[units_->BoxUnit(cell)]);
    }
    return true;
}

void LogicGrid::Place(std::int32_t cell, std::int32_t value) {
    if (cell < 0 || cell >= n_ * n_ || value < 1 || value > n_ || values_[cell] != 0) return;
    if ((candidates_[cell] & (1u << (value - 1))) == 0)
        clash_ = true;  // a value its peers or steps ruled out
    values_[cell] = static_cast<std::uint8_t>(value);
    candidates_[cell] = 0;
    --empty_;
    const std::uint32_t keep = ~(1u << (value - 1));
    const std::uint16_t* peers = units_->Peers(cell);
    for (std::int32_t k = 0; k < units_->PeerCount(); ++k) candidates_[peers[k]] &= keep;
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
    for (std::size_t i = 0; i < step.chain.size(); ++i) {
        const ChainLink& link = step.chain[i];
        const bool continues = i > 0 && step.chain[i - 1].to == link.from;
        if (!continues) text += (i == 0 ? " | " : " ; ") + ChainNodeText(link.from, n);
        text += (link.strong ? "=" : "-") + ChainNodeText(link.to, n);
    }
    return text;
}

std::string ChainNodeText(const ChainNode& node, std::int32_t n) {
    std::string text = std::to_string(node.value);
    if (node.count == 1) return text + CellName(node.cells[0], n);
    text += '{';
    for (std::int32_t i = 0; i < node.count && i < static_cast<std::int32_t>(node.cells.size()); ++i)
        text += (i > 0 ? " " : "") + CellName(node.cells[i], n);
    return text + '}';
}
