// Fitting a game.state to the saved board: exact match, a walk along its history,
// a bridging step, or the notes of the empty cells alone.
#include "save/state_reconcile.h"

#include <utility>
#include <vector>

#include "sudoku/grid.h"

namespace {

constexpr int kCells = kBoardSide;
constexpr std::int32_t kMaxValue = kLargestValue;

bool IsGameBoard(const SudokuBoard& board) {
    return board.size == kCells && HasShape(board.values, kCells) && HasShape(board.givens, kCells);
}

// The board the record was written for: the saved game's givens with the record's values.
SudokuBoard RecordedBoard(const SudokuBoard& saved, const PlayRecord& record) {
    SudokuBoard board;
    board.size = saved.size;
    board.givens = saved.givens;
    board.values = saved.values;
    for (int r = 0; r < kCells; ++r)
        for (int c = 0; c < kCells; ++c) board.values[r][c] = record.board[r][c];
    return board;
}

// The record's board and notes moved along its history, counting the cells in which
// the board still differs from the saved one.
class Walk {
public:
    Walk(const PlayRecord& record, const SudokuBoard& saved)
        : values_(record.board), notes_(record.notes), saved_(saved) {
        for (int r = 0; r < kCells; ++r)
            for (int c = 0; c < kCells; ++c) differing_ += !Same(r, c);
    }
    void Apply(int row, int column, std::uint8_t value, CellNotes notes) {
        differing_ -= !Same(row, column);
        values_[row][column] = value;
        differing_ += !Same(row, column);
        notes_[row][column] = notes;
    }
    bool Arrived() const { return differing_ == 0; }
    const NotesGrid& Notes() const { return notes_; }

private:
    bool Same(int row, int column) const { return values_[row][column] == saved_.values[row][column]; }

    BoardValues values_;
    NotesGrid notes_;
    const SudokuBoard& saved_;
    int differing_ = 0;
};

// Where the last step of changes[0, end) begins (end > 0).
std::size_t StepStart(const std::vector<CellChange>& changes, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && !changes[start].firstOfStep) --start;
    return start;
}

// Takes steps off the end of from, undoing or redoing them on the walk, until the board
// is the saved one; then moves those steps to the end of to in the order they were
// taken (as History's undo and redo move them). False, with nothing moved, when no
// number of steps arrives.
bool WalkTo(std::vector<CellChange>& from, std::vector<CellChange>& to, Walk& walk, bool undoing) {
    std::size_t end = from.size();
    while (!walk.Arrived() && end > 0) {
        const std::size_t start = StepStart(from, end);
        for (std::size_t k = 0; k < end - start; ++k) {
            const CellChange& change = from[undoing ? end - 1 - k : start + k];
            walk.Apply(change.row, change.column, undoing ? change.valueBefore : change.valueAfter,
                       undoing ? change.notesBefore : change.notesAfter);
        }
        end = start;
    }
    if (!walk.Arrived()) return false;
    for (std::size_t stepEnd = from.size(); stepEnd > end;) {
        const std::size_t start = StepStart(from, stepEnd);
        to.insert(to.end(), from.begin() + static_cast<std::ptrdiff_t>(start),
                  from.begin() + static_cast<std::ptrdiff_t>(stepEnd));
        stepEnd = start;
    }
    from.resize(end);
    return true;
}

// The notes a cell of the saved board keeps: a cell holding a value holds none.
CellNotes KeptNotes(const PlayRecord& record, const SudokuBoard& saved, int row, int column) {
    return saved.values[row][column] == 0 ? record.notes[row][column] : 0;
}

// Adds one step taking the record's board (and notes) to the saved one, as a move
// would; a new step drops the redo side. False when a cell's change is none a move can
// make (a value outside 0..16, a given cell).
bool BridgeToSaved(PlayRecord& record, const SudokuBoard& saved) {
    std::vector<CellChange> step;
    NotesGrid notes = record.notes;
    for (int r = 0; r < kCells; ++r) {
        for (int c = 0; c < kCells; ++c) {
            const std::int32_t value = saved.values[r][c];
            const CellNotes kept = KeptNotes(record, saved, r, c);
            if (value == record.board[r][c] && kept == record.notes[r][c]) continue;
            if (value < 0 || value > kMaxValue || saved.givens[r][c] != 0) return false;
            CellChange change;
            change.row = static_cast<std::uint8_t>(r);
            change.column = static_cast<std::uint8_t>(c);
            change.valueBefore = record.board[r][c];
            change.valueAfter = static_cast<std::uint8_t>(value);
            change.notesBefore = record.notes[r][c];
            change.notesAfter = kept;
            change.firstOfStep = step.empty();
            step.push_back(change);
            notes[r][c] = kept;
        }
    }
    record.undo.insert(record.undo.end(), step.begin(), step.end());
    record.redo.clear();
    record.notes = notes;
    return true;
}

}  // namespace

StateFit FitGameState(PlayRecord& record, std::uint64_t fingerprint, const SudokuBoard& saved) {
    if (fingerprint == GameFingerprint(saved)) return StateFit::Exact;
    // The fingerprint covers the givens and the values: it confirms both the puzzle and
    // the board the record keeps.
    if (!IsGameBoard(saved) || GameFingerprint(RecordedBoard(saved, record)) != fingerprint)
        return StateFit::Foreign;
    Walk back(record, saved);
    if (WalkTo(record.undo, record.redo, back, true)) {
        record.notes = back.Notes();
        return StateFit::Undone;
    }
    Walk forward(record, saved);
    if (WalkTo(record.redo, record.undo, forward, false)) {
        record.notes = forward.Notes();
        return StateFit::Redone;
    }
    if (BridgeToSaved(record, saved)) return StateFit::Bridged;
    for (int r = 0; r < kCells; ++r)
        for (int c = 0; c < kCells; ++c) record.notes[r][c] = KeptNotes(record, saved, r, c);
    record.undo.clear();
    record.redo.clear();
    return StateFit::NoHistory;
}

bool LoadPlayRecordFor(const std::string& path, const SudokuBoard& saved, PlayRecord& record) {
    PlayRecord read;
    std::uint64_t fingerprint = 0;
    if (!LoadPlayRecordOfAnyGame(path, read, fingerprint)) return false;
    if (FitGameState(read, fingerprint, saved) == StateFit::Foreign) return false;
    record = std::move(read);
    return true;
}
