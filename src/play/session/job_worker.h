// Work off the frame thread, in the two shapes the game needs (standard library only).
// LatestJobWorker runs a stream of jobs on one thread of its own where only the newest
// counts (the dead-end watch, the hint): a job handed over replaces one not started yet,
// and the one under way sees its stop flag turn true, ends early, and its reply is never
// taken. OneShotJob runs one job on a thread of its own (a pasted puzzle's check, a logic
// puzzle in the making) and the frame polls for its result. The frame never waits for
// the work: it holds a lock only to copy a job in or move a reply out, and it joins a
// thread only once the work there was told to stop (which ends it within a slice of its
// work). Each owns its thread, stopped and joined with it, and the copies of jobs and
// replies. A ready callback, when set, is called on the worker's thread once a reply is
// in (the game wakes its frame loop with it, which may be waiting for input).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// Asked by a LatestJobWorker's work between two slices: true once its job was replaced by
// a newer one or cancelled, or the worker stops.
class JobStopFlag {
public:
    JobStopFlag(const std::atomic<bool>& stopping, const std::atomic<std::uint64_t>& newest,
                std::uint64_t job)
        : stopping_(stopping), newest_(newest), job_(job) {}
    bool operator()() const { return stopping_ || newest_ != job_; }

private:
    const std::atomic<bool>& stopping_;
    const std::atomic<std::uint64_t>& newest_;
    std::uint64_t job_;
};

template <typename Job, typename Reply>
class LatestJobWorker {
public:
    // Works out the reply to a job on the worker's thread; none when it ended early.
    using Work = std::function<std::optional<Reply>(const Job& job, const JobStopFlag& stop)>;

    explicit LatestJobWorker(Work work) : work_(std::move(work)) {}

    // Takes effect from the next thread started (by the first Submit, or after Stop).
    void SetReadyCallback(std::function<void()> ready) { ready_ = std::move(ready); }
    // Hands a job over, starting the thread if none runs; it replaces a job not started
    // yet and stops the one under way. Its reply is the next to take.
    void Submit(const Job& job) {
        if (!thread_) thread_ = std::make_unique<Thread>(work_, ready_);
        thread_->Submit(job);
    }
    // Drops the job under way or waiting: no reply is taken until the next Submit.
    void Cancel() {
        if (thread_) thread_->Cancel();
    }
    // Moves the reply to the newest job into out once it is in; false while it is
    // pending, after Cancel, and once taken.
    bool TakeReply(Reply& out) { return thread_ && thread_->TakeReply(out); }
    // Stops and joins the thread (waits for the work under way to see its flag).
    void Stop() { thread_.reset(); }

private:
    class Thread;
    Work work_;
    std::function<void()> ready_;
    std::unique_ptr<Thread> thread_;
};

template <typename Job, typename Reply>
class LatestJobWorker<Job, Reply>::Thread {
public:
    Thread(Work work, std::function<void()> ready)
        : work_(std::move(work)), ready_(std::move(ready)), thread_([this] { Run(); }) {}
    ~Thread() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void Submit(const Job& job) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job_ = job;  // assigned over the last one: reuses what it holds
            waiting_ = true;
            newest_ = ++lastId_;
        }
        wake_.notify_one();
    }

    void Cancel() {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = false;
        newest_ = ++lastId_;
    }

    bool TakeReply(Reply& out) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!reply_ || replyId_ != lastId_) return false;
        out = std::move(*reply_);
        reply_.reset();
        return true;
    }

private:
    void Run() {
        Job job;
        for (;;) {
            std::uint64_t id = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || waiting_; });
                if (stopping_) return;
                job = job_;
                waiting_ = false;
                id = lastId_;
            }
            std::optional<Reply> reply = work_(job, JobStopFlag(stopping_, newest_, id));
            if (!reply) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                reply_ = std::move(reply);
                replyId_ = id;  // a reply to a job replaced meanwhile is kept but never taken
            }
            if (ready_) ready_();
        }
    }

    const Work work_;
    const std::function<void()> ready_;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by mutex_: the newest job, whether it waits to be started, the last id
    // handed out (by Submit or Cancel), and the reply to the last job finished.
    Job job_{};
    bool waiting_ = false;
    std::uint64_t lastId_ = 0;
    std::optional<Reply> reply_;
    std::uint64_t replyId_ = 0;
    // Written under mutex_, read by the work's stop flag without it.
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> newest_{0};
    std::thread thread_;  // last: starts once everything above exists
};

template <typename T>
class OneShotJob {
public:
    // Works out the result on the job's thread; stop turns true once the job is dropped.
    using Work = std::function<T(const std::atomic<bool>& stop)>;

    OneShotJob() = default;
    ~OneShotJob() { Stop(); }
    OneShotJob(OneShotJob&&) noexcept = default;
    // Stops and joins the job held before taking over the other's.
    OneShotJob& operator=(OneShotJob&& other) noexcept {
        if (this != &other) {
            Stop();
            state_ = std::move(other.state_);
            thread_ = std::move(other.thread_);
        }
        return *this;
    }

    // Starts work on a thread of its own, once the job held before is stopped and joined.
    // ready, when set, is called on that thread once the result is in, unless the job
    // was told to stop by then.
    void Start(Work work, std::function<void()> ready = {}) {
        Stop();
        state_ = std::make_unique<State>();
        thread_ = std::thread([state = state_.get(), work = std::move(work), ready = std::move(ready)] {
            state->result = work(state->stop);
            state->done.store(true, std::memory_order_release);
            if (ready && !state->stop) ready();
        });
    }
    // A job was started and neither its result taken nor the job stopped or handed on.
    bool Busy() const { return state_ != nullptr; }
    // Moves the result into out once it is in (true), ending the job.
    bool Take(T& out) {
        if (!state_ || !state_->done.load(std::memory_order_acquire)) return false;
        out = std::move(state_->result);
        Stop();  // the work has ended: the join waits at most for the ready callback
        return true;
    }
    // Tells the work to stop without waiting for it; Stop, Start or the end joins it.
    void TellToStop() {
        if (state_) state_->stop = true;
    }
    // Tells the work to stop and joins its thread; no job is held afterwards.
    void Stop() {
        if (!state_) return;
        state_->stop = true;
        if (thread_.joinable()) thread_.join();
        state_.reset();
    }

private:
    struct State {
        std::atomic<bool> stop{false};
        std::atomic<bool> done{false};
        T result{};  // written by the job's thread before done, read by the owner after it
    };
    std::unique_ptr<State> state_;
    std::thread thread_;
};
