#include "play/session/dead_end_watch.h"

#include <optional>

namespace {

// Nodes between two looks at whether a newer job came or the watch stops.
constexpr std::uint64_t NodesBetweenLooks = 8;

bool CanCheck(const SudokuBoard& board) {
    return board.size > 0 && board.boxSize > 0 && HasShape(board.values, board.size);
}

}  // namespace

DeadEndWatch::DeadEndWatch()
    : worker_([](const Check& check, const JobStopFlag& stop) -> std::optional<CompletionResult> {
          CompletionSearch search(check.values, check.boxSize);
          while (!search.Advance(NodesBetweenLooks)) {
              if (stop()) return std::nullopt;
          }
          return search.Result();
      }) {}

void DeadEndWatch::Update(const SudokuBoard& board) {
    if (!CanCheck(board)) return;
    if (!posted_ || board.values != checked_.values) {
        checked_.values = board.values;  // same shape: reuses the rows, allocates nothing
        checked_.boxSize = board.boxSize;
        posted_ = true;
        finished_ = false;
        worker_.Submit(checked_);
        return;
    }
    if (!finished_) finished_ = worker_.TakeReply(result_);
}

void DeadEndWatch::Stop() {
    worker_.Stop();
    posted_ = false;
    finished_ = false;
}

bool DeadEndWatch::Checks(const SudokuBoard& board) const {
    return finished_ && board.values == checked_.values;
}

bool DeadEndWatch::ShowsDeadEnd(const SudokuBoard& board) const {
    return Checks(board) && result_.verdict == Completion::DeadEnd;
}

const CompletionResult* DeadEndWatch::ResultFor(const SudokuBoard& board) const {
    return Checks(board) ? &result_ : nullptr;
}
