#include "play/session/history.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// Index of the first change of the last step in changes[from..] (which is not empty).
std::size_t LastStepStart(const std::vector<CellChange>& changes, std::size_t from = 0) {
    std::size_t start = changes.size() - 1;
    while (start > from && !changes[start].firstOfStep) --start;
    return start;
}

// The cell of the step starting at start: its only cell, or the cell whose value its
// first change sets; none for a step of notes on several cells.
CellRef StepCell(const std::vector<CellChange>& changes, std::size_t start) {
    const CellChange& first = changes[start];
    const bool oneCell = changes.size() - start == 1 || first.valueBefore != first.valueAfter;
    return oneCell ? CellRef{first.row, first.column} : CellRef{};
}

// Moves the last step of from to the end of to, keeping the order of its changes.
void MoveLastStep(std::vector<CellChange>& from, std::vector<CellChange>& to, std::size_t start) {
    to.insert(to.end(), from.begin() + static_cast<std::ptrdiff_t>(start), from.end());
    from.resize(start);
}

}  // namespace

void History::RecordStep(const std::vector<CellChange>& changes) {
    bool first = true;
    for (CellChange change : changes) {
        if (change.valueBefore == change.valueAfter && change.notesBefore == change.notesAfter) continue;
        change.firstOfStep = first;
        if (first) {
            redo.clear();
            redoSteps = 0;
            ++undoSteps;
            first = false;
        }
        undo.push_back(change);
        ++revision;
    }
    TrimToLimits();
}

void History::Restore(std::vector<CellChange> undoChanges, std::vector<CellChange> redoChanges) {
    undo = std::move(undoChanges);
    undoStart = 0;
    redo = std::move(redoChanges);
    const auto steps = [](const std::vector<CellChange>& changes) {
        return static_cast<std::size_t>(
            std::count_if(changes.begin(), changes.end(), [](const CellChange& c) { return c.firstOfStep; }));
    };
    undoSteps = steps(undo);
    redoSteps = steps(redo);
    ++revision;
    TrimToLimits();
}

std::vector<CellChange> History::UndoChanges() const {
    return std::vector<CellChange>(undo.begin() + static_cast<std::ptrdiff_t>(undoStart), undo.end());
}

void History::TrimToLimits() {
    while (undoSteps > 1 && (undoSteps > kHistoryStepLimit || undo.size() - undoStart > kMaxHistoryChanges))
        DropOldestStep();
}

// Moves the start past the oldest step; the dropped changes are cleared out of the
// vector once they make up half of it, so each change is moved at most once per
// time the vector halves.
void History::DropOldestStep() {
    const auto first = undo.begin() + static_cast<std::ptrdiff_t>(undoStart);
    const auto next = std::find_if(first + 1, undo.end(), [](const CellChange& c) { return c.firstOfStep; });
    undoStart = static_cast<std::size_t>(next - undo.begin());
    --undoSteps;
    if (undoStart * 2 < undo.size()) return;
    trimMoves += undo.size() - undoStart;
    undo.erase(undo.begin(), next);
    undoStart = 0;
}

const std::vector<CellChange>* History::Undo(CellRef* cell) {
    if (UndoEmpty()) return nullptr;
    const std::size_t start = LastStepStart(undo, undoStart);
    moved.assign(undo.begin() + static_cast<std::ptrdiff_t>(start), undo.end());
    if (cell) *cell = StepCell(undo, start);
    MoveLastStep(undo, redo, start);
    if (UndoEmpty()) {  // the dropped steps before it go too
        undo.clear();
        undoStart = 0;
    }
    --undoSteps;
    ++redoSteps;
    ++revision;
    return &moved;
}

const std::vector<CellChange>* History::Redo(CellRef* cell) {
    if (redo.empty()) return nullptr;
    const std::size_t start = LastStepStart(redo);
    moved.assign(redo.begin() + static_cast<std::ptrdiff_t>(start), redo.end());
    if (cell) *cell = StepCell(redo, start);
    MoveLastStep(redo, undo, start);
    --redoSteps;
    ++undoSteps;
    ++revision;
    return &moved;
}

void History::Clear() {
    undo.clear();
    undoStart = 0;
    redo.clear();
    undoSteps = 0;
    redoSteps = 0;
}
