// The hint's worker: works out what a hint tells (next_hint.h: the logic engine's
// next step, else the values that keep a cell finishable), what it says (hint_text.h)
// and what it marks (hint_marks.h), off the frame thread. It is a worker of the newest
// job (job_worker.h), as the dead-end watch is: the frame hands a job in (Submit) and
// takes a reply out (TakeReply); one under way is dropped between two slices of its
// work as soon as a newer one arrives or it is cancelled. The work calls no engine
// function. Owns the thread (started by the first Submit, stopped and joined with the
// worker) and the copies of job and reply.
#pragma once

#include "play/hint/hint_marks.h"
#include "play/hint/hint_text.h"
#include "play/session/job_worker.h"
#include "sudoku/logic/next_hint.h"

// A hint asked for: the query, and whether the puzzle is a classic one (many solutions,
// so that logic may stall on it).
struct HintJob {
    HintQuery query;
    bool manySolutions = false;
};

// Everything a hint shows, worked out together.
struct HintReply {
    HintAnswer answer;
    HintTexts texts;
    HintMarks marks;
};

// Submit, Cancel, TakeReply, Stop and the ready callback as job_worker.h gives them.
class HintWorker : public LatestJobWorker<HintJob, HintReply> {
public:
    HintWorker();
};
