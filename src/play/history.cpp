#include "play/history.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kMaxIndex = 255;  // what a change's row and column can hold
constexpr int kMaxValue = 255;

bool Fits(int n, int limit) { return n >= 0 && n <= limit; }

// Index of the first change of the last step in changes (which is not empty).
std::size_t LastStepStart(const std::vector<CellChange>& changes) {
    std::size_t start = changes.size() - 1;
    while (start > 0 && !changes[start].firstOfStep) --start;
    return start;
}

// Moves the last step of from to the end of to, keeping the order of its changes.
void MoveLastStep(std::vector<CellChange>& from, std::vector<CellChange>& to, std::size_t start) {
    to.insert(to.end(), from.begin() + static_cast<std::ptrdiff_t>(start), from.end());
    from.resize(start);
}

}  // namespace

void History::RecordValueChange(int row, int column, int before, int after) {
    if (before == after) return;
    if (!Fits(row, kMaxIndex) || !Fits(column, kMaxIndex) || !Fits(before, kMaxValue) || !Fits(after, kMaxValue))
        return;
    CellChange change;
    change.row = static_cast<std::uint8_t>(row);
    change.column = static_cast<std::uint8_t>(column);
    change.valueBefore = static_cast<std::uint8_t>(before);
    change.valueAfter = static_cast<std::uint8_t>(after);
    change.firstOfStep = true;
    undo.push_back(change);
    ++undoSteps;
    redo.clear();
    redoSteps = 0;
    if (undoSteps > kHistoryStepLimit) DropOldestStep();
}

void History::DropOldestStep() {
    auto next = std::find_if(undo.begin() + 1, undo.end(), [](const CellChange& c) { return c.firstOfStep; });
    undo.erase(undo.begin(), next);
    --undoSteps;
}

bool History::Undo(SudokuBoard& board, CellRef* cell) {
    if (undo.empty()) return false;
    const std::size_t start = LastStepStart(undo);
    for (std::size_t i = undo.size(); i > start; --i) {
        const CellChange& change = undo[i - 1];
        board.SetValue(change.row, change.column, change.valueBefore);
    }
    if (cell) *cell = {undo[start].row, undo[start].column};
    MoveLastStep(undo, redo, start);
    --undoSteps;
    ++redoSteps;
    return true;
}

bool History::Redo(SudokuBoard& board, CellRef* cell) {
    if (redo.empty()) return false;
    const std::size_t start = LastStepStart(redo);
    for (std::size_t i = start; i < redo.size(); ++i) {
        board.SetValue(redo[i].row, redo[i].column, redo[i].valueAfter);
    }
    if (cell) *cell = {redo[start].row, redo[start].column};
    MoveLastStep(redo, undo, start);
    --redoSteps;
    ++undoSteps;
    return true;
}

void History::Clear() {
    undo.clear();
    redo.clear();
    undoSteps = 0;
    redoSteps = 0;
}
