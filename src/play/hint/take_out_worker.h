// The take-out worker: on a grid that can no longer be finished, the hint asks it for
// the fewest of the player's values whose removal makes the grid finishable again
// (sudoku/mistakes.h: one value, newest first, else the smallest set a sweep finds).
// A worker of the newest job (job_worker.h), as the hint's own worker is; the work
// calls no engine function. Owns its thread and the copies of job and reply.
#pragma once

#include "play/session/job_worker.h"
#include "sudoku/mistakes.h"

class TakeOutWorker : public LatestJobWorker<TakeOutQuery, TakeOutReport> {
public:
    TakeOutWorker()
        : LatestJobWorker(
              [](const TakeOutQuery& query, const JobStopFlag& stop) -> std::optional<TakeOutReport> {
                  TakeOutReport report = FindValuesToTakeOut(query, [&stop] { return stop(); });
                  if (report.stopped) return std::nullopt;
                  return report;
              }) {}
};
