#include "play/session/mistake_watch.h"

#include <optional>

namespace {

bool CanCheck(const SudokuBoard& board) {
    return board.size == kBoardSide && board.boxSize * board.boxSize == kBoardSide &&
           HasShape(board.values, board.size) && HasShape(board.givens, board.size);
}

// The worker's own memory of a one-solution puzzle's solution, kept between jobs (one thread).
struct SolutionMemory {
    Grid givens;
    Grid solution;
};

}  // namespace

MistakeWatch::MistakeWatch()
    : worker_([memory = std::make_shared<SolutionMemory>()](const MistakeQuery& query,
                                                            const JobStopFlag& stop) -> std::optional<Reply> {
          Reply reply;
          reply.values = query.values;
          MistakeQuery known = query;
          if (query.oneSolution && memory->givens == query.givens) known.solution = memory->solution;
          reply.report = FindMistakes(known, [&stop] { return stop(); });
          if (reply.report.stopped) return std::nullopt;
          if (query.oneSolution && !reply.report.solution.empty()) {
              memory->givens = query.givens;
              memory->solution = reply.report.solution;
          }
          return reply;
      }) {}

void MistakeWatch::Reset() {
    worker_.Cancel();
    posted_ = false;
    wrong_.fill(0);
    marked_ = 0;
    givens_.clear();
}

std::uint32_t MistakeWatch::Update(const SudokuBoard& board, bool oneSolution) {
    if (!CanCheck(board)) return 0;
    if (board.givens != givens_) {
        Reset();
        givens_ = board.givens;
    }
    if (!posted_ || board.values != checked_) {
        checked_ = board.values;
        posted_ = true;
        worker_.Submit({board.givens, board.values, board.boxSize, oneSolution});
        return 0;
    }
    Reply reply;
    return worker_.TakeReply(reply) ? TakeProofs(reply) : 0;
}

std::uint32_t MistakeWatch::TakeProofs(const Reply& reply) {
    const std::uint32_t before = marked_;
    const auto n = static_cast<std::int32_t>(reply.values.size());
    for (std::int32_t cell : reply.report.wrong) {
        if (cell < 0 || cell >= static_cast<std::int32_t>(kBoardCellCount) || n != kBoardSide) continue;
        const auto value = static_cast<std::uint8_t>(
            reply.values[static_cast<std::size_t>(cell / n)][static_cast<std::size_t>(cell % n)]);
        std::uint8_t& known = wrong_[static_cast<std::size_t>(cell)];
        if (known != value) ++marked_;
        known = value;
    }
    return marked_ - before;
}

bool MistakeWatch::Marks(const SudokuBoard& board, int row, int column) const {
    if (!CanCheck(board) || row < 0 || column < 0 || row >= kBoardSide || column >= kBoardSide) return false;
    const std::int32_t value = board.values[row][column];
    return value != 0 && !board.IsGiven(row, column) &&
           wrong_[static_cast<std::size_t>(CellRef{row, column}.Index())] == value;
}
