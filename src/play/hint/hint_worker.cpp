#include "play/hint/hint_worker.h"

#include <optional>

#include "play/hint/hint_chain.h"

namespace {

std::optional<HintReply> WorkOutHint(const HintJob& job, const JobStopFlag& stop) {
    const HintQuery& query = job.query;
    HintReply done;
    done.answer = FindHint(query, stop);
    if (done.answer.kind == HintKind::Stopped) return std::nullopt;
    done.texts = DescribeHint(done.answer, query.boxSize, job.manySolutions);
    if (done.answer.kind == HintKind::Step && IsChainTechnique(done.answer.step.technique))
        DescribeChainStep(done.answer.step, query.boxSize, done.texts);
    done.marks = MarksOfHint(done.answer, query.values, query.boxSize);
    return done;
}

}  // namespace

HintWorker::HintWorker() : LatestJobWorker(WorkOutHint) {}
