// A chain's hint: its texts and its links drawn over the board.
#include "play/hint/hint_chain.h"

#include <cmath>
#include <string>

#include "gfx/shapes.h"
#include "play/view/notes_view.h"

namespace {

const char* CountWord(std::size_t k) {
    static const char* const words[] = {"no", "one", "two", "three", "four", "five", "six"};
    return k < sizeof words / sizeof words[0] ? words[k] : "several";
}

// "row 3, column 1" for a node's one cell; "the 3 cells from row 3, column 1" for a group.
std::string NodeName(const ChainNode& node, std::int32_t n) {
    if (node.count <= 1) return ScreenCellName(node.cells[0], n);
    return std::string("the ") + CountWord(static_cast<std::size_t>(node.count)) + " cells from " +
           ScreenCellName(node.cells[0], n);
}

// "at row 3, column 12" for one cell the step takes values from, "in these 4 cells" for more.
std::string WhereItGoes(const LogicStep& step, std::int32_t n) {
    std::size_t cells = 0;
    for (std::size_t i = 0; i < step.eliminations.size(); ++i)
        cells += i == 0 || step.eliminations[i].cell != step.eliminations[i - 1].cell;
    if (cells == 1) return "at " + ScreenCellName(step.eliminations.front().cell, n);
    return std::string("in these ") + CountWord(cells) + " cells";
}

void DescribeColouring(const LogicStep& step, std::int32_t n, const std::string& on, HintTexts& texts) {
    const std::string title = TechniqueTitle(step.technique);
    texts.first = title + " on " + on + ": its only pairs colour " + std::to_string(step.cells.size()) +
                  " cells in two colours";
    if (step.technique == Technique::ColourWrap) {
        texts.second = "Two cells of one colour see each other, so " + texts.values + " leaves that colour";
    } else {
        texts.second =
            "One colour holds " + on + ", so it cannot go " + WhereItGoes(step, n) + " seeing both";
    }
}

// The centre of the place of a node's value in the notes of its cells.
Point NodePoint(const ChainNode& node, const BoardView& view) {
    Point sum;
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < node.count && i < static_cast<std::int32_t>(node.cells.size()); ++i) {
        const CellRef at = CellRef::OfIndex(node.cells[i]);
        if (!IsBoardCell(at.row, at.column) || node.value < 1 || node.value > kLargestValue) continue;
        const Cell& cell = view.cells[at.row][at.column];
        sum.x += cell.x + NotesInset + NotesSlot * (static_cast<float>((node.value - 1) % 4) + 0.5f);
        sum.y += cell.y + NotesInset + NotesSlot * (static_cast<float>((node.value - 1) / 4) + 0.5f);
        ++count;
    }
    if (count > 0) {
        sum.x /= static_cast<float>(count);
        sum.y /= static_cast<float>(count);
    }
    return sum;
}

// A bar of the chain's width from a to b.
void DrawBar(GK& gk, Point a, Point b, std::uint32_t color) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f) return;
    const float nx = -dy / length * HintChainLine / 2, ny = dx / length * HintChainLine / 2;
    DrawShape(gk, {a.x + nx, b.x + nx, b.x - nx, a.x - nx}, {a.y + ny, b.y + ny, b.y - ny, a.y - ny}, color);
}

void DrawDashes(GK& gk, Point a, Point b, std::uint32_t color) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    for (float at = 0; at < length; at += HintChainDash + HintChainGap) {
        const float end = std::fmin(at + HintChainDash, length);
        DrawBar(gk, {a.x + dx * at / length, a.y + dy * at / length},
                {a.x + dx * end / length, a.y + dy * end / length}, color);
    }
}

void DrawDot(GK& gk, Point at, std::uint32_t color) {
    DrawFilledRect(gk, at.x - HintChainDot / 2, at.y - HintChainDot / 2, HintChainDot, HintChainDot, color);
}

}  // namespace

void DescribeChainStep(const LogicStep& step, std::int32_t boxSize, HintTexts& texts) {
    const std::int32_t n = boxSize * boxSize;
    const std::string on = ValuesText(step.values);
    if (step.technique == Technique::ColourWrap || step.technique == Technique::ColourTrap) {
        DescribeColouring(step, n, on, texts);
        return;
    }
    if (step.chain.empty()) return;
    const ChainNode& start = step.chain.front().from;
    const ChainNode& end = step.chain.back().to;
    texts.first = std::string(TechniqueTitle(step.technique)) + " on " + on + ": from " + NodeName(start, n) +
                  " to " + NodeName(end, n);
    const std::string ends =
        start.value == end.value ? "holds " + ValuesText(1u << (start.value - 1)) : "is true";
    texts.second =
        "One of its two ends " + ends + ", so " + texts.values + " cannot go " + WhereItGoes(step, n);
}

void DrawHintChain(GK& gk, const LogicStep& step, const BoardView& view, const Palette& palette) {
    for (const ChainLink& link : step.chain) {
        const Point a = NodePoint(link.from, view);
        const Point b = NodePoint(link.to, view);
        if (link.strong) {
            DrawBar(gk, a, b, palette.hintStrongLink);
        } else {
            DrawDashes(gk, a, b, palette.hintWeakLink);
        }
    }
    for (const ChainLink& link : step.chain) {
        DrawDot(gk, NodePoint(link.from, view), link.strong ? palette.hintStrongLink : palette.hintWeakLink);
        DrawDot(gk, NodePoint(link.to, view), link.strong ? palette.hintStrongLink : palette.hintWeakLink);
    }
}
