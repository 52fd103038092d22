#include "play/hint/hint_worker.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct HintWorker::Thread {
    std::mutex mutex;
    std::condition_variable wake;
    // Guarded by mutex: the newest job, and the reply to the last one finished.
    HintQuery job;
    std::uint64_t jobId = 0;
    std::uint64_t postedId = 0;  // the newest job with work to do (Cancel posts none)
    bool stop = false;
    std::uint64_t replyId = 0;
    HintReply reply;
    // Read by the work between slices, without the lock.
    std::atomic<std::uint64_t> newestJob{0};
    std::atomic<bool> stopping{false};
    const std::function<void()> ready;
    std::thread thread;  // last: starts once everything above exists

    explicit Thread(std::function<void()> onReady) : ready(std::move(onReady)), thread([this] { Run(); }) {}
    ~Thread() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
        }
        stopping = true;
        wake.notify_all();
        thread.join();
    }

    void Run() {
        HintQuery query;
        std::uint64_t taken = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return stop || postedId != taken; });
                if (stop) return;
                query = job;
                taken = postedId;
            }
            HintReply done;
            done.answer = FindHint(query, [&] { return stopping || newestJob != taken; });
            if (done.answer.kind == HintKind::Stopped) continue;
            done.texts = DescribeHint(done.answer, query.boxSize);
            done.marks = MarksOfHint(done.answer, query.boxSize);
            {
                std::lock_guard<std::mutex> lock(mutex);
                reply = std::move(done);
                replyId = taken;
            }
            if (ready) ready();
        }
    }
};

HintWorker::HintWorker() = default;
HintWorker::~HintWorker() = default;
HintWorker::HintWorker(HintWorker&&) noexcept = default;
HintWorker& HintWorker::operator=(HintWorker&&) noexcept = default;

void HintWorker::Post(const HintQuery& query) {
    if (!thread_) thread_ = std::make_unique<Thread>(ready_);
    {
        std::lock_guard<std::mutex> lock(thread_->mutex);
        thread_->job = query;
        thread_->postedId = ++thread_->jobId;
        thread_->newestJob = thread_->jobId;
    }
    thread_->wake.notify_one();
}

void HintWorker::Cancel() {
    if (!thread_) return;
    std::lock_guard<std::mutex> lock(thread_->mutex);
    thread_->newestJob = ++thread_->jobId;
}

bool HintWorker::TakeReply(HintReply& out) {
    if (!thread_) return false;
    std::lock_guard<std::mutex> lock(thread_->mutex);
    if (thread_->replyId != thread_->jobId) return false;
    out = thread_->reply;
    return true;
}

void HintWorker::Stop() {
    thread_.reset();
}
