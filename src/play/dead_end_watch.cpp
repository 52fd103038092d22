#include "play/dead_end_watch.h"

namespace {

bool CanCheck(const SudokuBoard& board) {
    return board.size > 0 && board.boxSize > 0 && HasShape(board.values, board.size);
}

}  // namespace

void DeadEndWatch::Update(const SudokuBoard& board) {
    if (!CanCheck(board)) {
        search_.reset();
        return;
    }
    if (!search_ || board.values != checked_) {
        checked_ = board.values;  // same shape: reuses the rows, allocates nothing
        search_.emplace(checked_, board.boxSize);  // propagation only: this frame's slice
        return;
    }
    if (!search_->Finished()) search_->Advance(DeadEndSliceNodes);
}

Completion DeadEndWatch::Verdict() const {
    return search_ && search_->Finished() ? search_->Result().verdict : Completion::Unknown;
}

bool DeadEndWatch::Checks(const SudokuBoard& board) const {
    return search_ && search_->Finished() && board.values == checked_;
}

bool DeadEndWatch::ShowsDeadEnd(const SudokuBoard& board) const {
    return Checks(board) && search_->Result().verdict == Completion::DeadEnd;
}

const CompletionResult* DeadEndWatch::ResultFor(const SudokuBoard& board) const {
    return Checks(board) ? &search_->Result() : nullptr;
}
