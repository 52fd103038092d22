#include "play/hint/hint_worker.h"

#include <optional>

namespace {

std::optional<HintReply> WorkOutHint(const HintQuery& query, const JobStopFlag& stop) {
    HintReply done;
    done.answer = FindHint(query, stop);
    if (done.answer.kind == HintKind::Stopped) return std::nullopt;
    done.texts = DescribeHint(done.answer, query.boxSize);
    done.marks = MarksOfHint(done.answer, query.boxSize);
    return done;
}

}  // namespace

HintWorker::HintWorker() : LatestJobWorker(WorkOutHint) {}
