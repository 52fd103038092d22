#include "play/hint/hint_marks.h"

#include "gfx/shapes.h"
#include "play/session/move.h"
#include "play/view/notes_view.h"

namespace {

constexpr std::int32_t Cells = kBoardCellCount;

// The i-th cell of a unit: rows and columns of the board, boxes counted row by row.
std::int32_t UnitCellOf(const LogicUnit& unit, std::int32_t i, std::int32_t boxSize) {
    const std::int32_t n = BoardCells;
    switch (unit.kind) {
        case UnitKind::Row:
            return unit.index * n + i;
        case UnitKind::Column:
            return i * n + unit.index;
        case UnitKind::Box:
            break;
    }
    const std::int32_t row = unit.index / boxSize * boxSize + i / boxSize;
    return row * n + unit.index % boxSize * boxSize + i % boxSize;
}

void Mark(HintMarks& marks, std::int32_t cell, std::uint8_t flag) {
    if (cell >= 0 && cell < Cells) marks.flags[static_cast<std::size_t>(cell)] |= flag;
}

void MarkStep(HintMarks& marks, const LogicStep& step, std::int32_t boxSize) {
    for (const LogicUnit& unit : step.units) {
        if (unit.index < 0 || unit.index >= BoardCells) continue;
        for (std::int32_t i = 0; i < BoardCells; ++i) Mark(marks, UnitCellOf(unit, i, boxSize), HintMarkUnit);
    }
    for (std::int32_t cell : step.cells) Mark(marks, cell, HintMarkPattern);
    Mark(marks, step.placeCell, HintMarkPlace);
    for (const Elimination& e : step.eliminations) {
        if (e.cell < 0 || e.cell >= Cells || e.value < 1 || e.value > BoardCells) continue;
        Mark(marks, e.cell, HintMarkStrike);
        marks.struck[static_cast<std::size_t>(e.cell)] |= static_cast<std::uint16_t>(1u << (e.value - 1));
    }
}

std::int32_t ValueAt(const Grid& values, std::int32_t cell) {
    const CellRef at = CellRef::OfIndex(cell);
    return values[static_cast<std::size_t>(at.row)][static_cast<std::size_t>(at.column)];
}

bool SharesUnit(std::int32_t cell, std::int32_t other) {
    const CellRef a = CellRef::OfIndex(cell), b = CellRef::OfIndex(other);
    return ShareUnit(a.row, a.column, b.row, b.column);
}

// The cells around a naked single that hold the values it cannot take.
void MarkNakedSingleWitnesses(HintMarks& marks, const LogicStep& step, const Grid& values) {
    for (std::int32_t cell = 0; cell < Cells; ++cell)
        if (cell != step.placeCell && SharesUnit(cell, step.placeCell) && ValueAt(values, cell) != 0)
            Mark(marks, cell, HintMarkPattern);
}

// The cells holding a hidden single's value that rule it out of the unit's other free cells.
void MarkHiddenSingleWitnesses(HintMarks& marks, const LogicStep& step, const Grid& values,
                               std::int32_t boxSize) {
    if (step.units.empty()) return;
    for (std::int32_t i = 0; i < BoardCells; ++i) {
        const std::int32_t free = UnitCellOf(step.units[0], i, boxSize);
        if (free == step.placeCell || free < 0 || free >= Cells || ValueAt(values, free) != 0) continue;
        for (std::int32_t cell = 0; cell < Cells; ++cell)
            if (ValueAt(values, cell) == step.placeValue && SharesUnit(cell, free))
                Mark(marks, cell, HintMarkPattern);
    }
}

void MarkSingleWitnesses(HintMarks& marks, const LogicStep& step, const Grid& values, std::int32_t boxSize) {
    if (!HasShape(values, BoardCells) || step.placeCell < 0 || step.placeCell >= Cells) return;
    if (step.technique == Technique::NakedSingle) MarkNakedSingleWitnesses(marks, step, values);
    if (step.technique == Technique::HiddenSingle) MarkHiddenSingleWitnesses(marks, step, values, boxSize);
}

// A frame of the given line width just inside the cell's edge.
void DrawCellFrame(GK& gk, const Cell& cell, float line, float inset, std::uint32_t color) {
    DrawFrame(gk, cell.x + inset, cell.y + inset, cell.width - 2 * inset, cell.height - 2 * inset, line,
              color);
}

// A bar across the place of each struck value's note (notes.h's 4 x 4 layout).
void DrawStruckValues(GK& gk, const Cell& cell, std::uint16_t struck, std::uint32_t color) {
    for (int v = 1; v <= BoardCells; ++v) {
        if (!(struck & NoteBit(v))) continue;
        const float x = cell.x + NotesInset + NotesSlot * static_cast<float>((v - 1) % 4);
        const float y = cell.y + NotesInset + NotesSlot * static_cast<float>((v - 1) / 4);
        DrawFilledRect(gk, x, y + (NotesSlot - HintStruckHeight) / 2, NotesSlot, HintStruckHeight, color);
    }
}

}  // namespace

HintMarks MarksOfHint(const HintAnswer& answer, const Grid& values, std::int32_t boxSize) {
    HintMarks marks;
    if (boxSize * boxSize != BoardCells) return marks;
    if (answer.kind == HintKind::Step) {
        MarkStep(marks, answer.step, boxSize);
        MarkSingleWitnesses(marks, answer.step, values, boxSize);
    }
    if (answer.kind == HintKind::Values) Mark(marks, answer.cell, HintMarkUnit | HintMarkPlace);
    return marks;
}

void DrawHintUnderCell(GK& gk, const HintMarks& marks, bool detailed, const Cell& cell,
                       const Palette& palette) {
    if (cell.row < 0 || cell.column < 0 || cell.row >= BoardCells || cell.column >= BoardCells) return;
    const std::uint8_t flags = marks.At(cell.row, cell.column);
    if (detailed && (flags & (HintMarkPlace | HintMarkStrike))) {
        DrawFilledRect(gk, cell.x, cell.y, cell.width, cell.height,
                       palette.hintTargetFill);  // blue, not over the yellow
    } else if (flags & HintMarkUnit) {
        DrawFilledRect(gk, cell.x, cell.y, cell.width, cell.height, palette.hintUnit);
    }
}

void DrawHintOverCells(GK& gk, const HintMarks& marks, const BoardView& view, const Palette& palette) {
    for (const auto& line : view.cells) {
        for (const Cell& cell : line) {
            if (cell.row < 0 || cell.column < 0) continue;
            const std::uint8_t flags = marks.At(cell.row, cell.column);
            if (flags & HintMarkPattern) DrawCellFrame(gk, cell, HintPatternLine, 0, palette.hintPattern);
            if (flags & HintMarkPlace)
                DrawCellFrame(gk, cell, HintPatternLine, flags & HintMarkPattern ? HintPatternLine : 0,
                              palette.hintTarget);
            if (flags & HintMarkStrike)
                DrawStruckValues(gk, cell,
                                 marks.struck[static_cast<std::size_t>(CellRef{cell.row, cell.column}.Index())],
                                 palette.hintTarget);
        }
    }
}
