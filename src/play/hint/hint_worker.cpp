#include "play/hint/hint_worker.h"

#include <optional>

namespace {

std::optional<HintReply> WorkOutHint(const HintJob& job, const JobStopFlag& stop) {
    const HintQuery& query = job.query;
    HintReply done;
    done.answer = FindHint(query, stop);
    if (done.answer.kind == HintKind::Stopped) return std::nullopt;
    done.texts = DescribeHint(done.answer, query.boxSize, job.manySolutions);
    done.marks = MarksOfHint(done.answer, query.values, query.boxSize);
    return done;
}

}  // namespace

HintWorker::HintWorker() : LatestJobWorker(WorkOutHint) {}
