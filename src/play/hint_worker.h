// The hint's worker thread: works out what a hint tells (next_hint.h: the logic
// engine's next step, else the values that keep a cell finishable), what it says
// (hint_text.h) and what it marks (hint_marks.h), off the frame thread. As with the
// dead-end watch, the frame only copies a job in (Post) or a reply out (TakeReply)
// under the lock; the newest job wins: one under way is dropped between two slices
// of its work as soon as a newer one arrives. The worker calls no engine function.
// Owns the thread (started by the first Post, stopped and joined with the worker)
// and the copies of job and reply.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "play/hint_marks.h"
#include "play/hint_text.h"
#include "sudoku/logic/next_hint.h"

// Everything a hint shows, worked out together.
struct HintReply {
    HintAnswer answer;
    HintTexts texts;
    HintMarks marks;
};

class HintWorker {
public:
    HintWorker();
    ~HintWorker();
    HintWorker(HintWorker&&) noexcept;
    HintWorker& operator=(HintWorker&&) noexcept;

    // Called on the worker's thread once a reply is ready (to wake a waiting frame loop);
    // takes effect from the thread the first Post starts.
    void SetReadyCallback(std::function<void()> callback) { ready_ = std::move(callback); }
    // Hands a job over, dropping the one under way; the reply to it is the next to take.
    void Post(const HintQuery& query);
    // Drops the job under way: no reply is expected any more.
    void Cancel();
    // Copies the reply to the newest job once it is in; false while it is pending
    // (and after Cancel).
    bool TakeReply(HintReply& out);
    // Stops and joins the thread (waits at most one slice of its work).
    void Stop();

private:
    struct Thread;
    std::unique_ptr<Thread> thread_;
    std::function<void()> ready_;
};
