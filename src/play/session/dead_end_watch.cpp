#include "play/session/dead_end_watch.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace {

// Nodes between two looks at whether a newer job came or the watch stops.
constexpr std::uint64_t NodesBetweenLooks = 8;

bool CanCheck(const SudokuBoard& board) {
    return board.size > 0 && board.boxSize > 0 && HasShape(board.values, board.size);
}

}  // namespace

struct DeadEndWatch::Worker {
    std::mutex mutex;
    std::condition_variable wake;
    // Guarded by mutex: the newest job and the answer to the last finished one.
    Grid job;
    std::int32_t jobBoxSize = 0;
    std::uint64_t jobId = 0;
    bool stop = false;
    std::uint64_t answerId = 0;
    CompletionResult answer;
    // Read by the search between nodes, without the lock.
    std::atomic<std::uint64_t> newestJob{0};
    std::atomic<bool> stopping{false};
    const std::function<void()> onAnswer;
    std::thread thread;  // last: starts once everything above exists

    explicit Worker(std::function<void()> callback) : onAnswer(std::move(callback)), thread([this] { Run(); }) {}
    ~Worker() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
        }
        stopping = true;
        wake.notify_all();
        thread.join();
    }

    void Post(const Grid& values, std::int32_t boxSize) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            job = values;  // same shape as before: reuses the rows
            jobBoxSize = boxSize;
            newestJob = ++jobId;
        }
        wake.notify_one();
    }

    // Copies the answer when it is the one to job id; false otherwise.
    bool TakeAnswer(std::uint64_t id, CompletionResult& out) {
        std::lock_guard<std::mutex> lock(mutex);
        if (answerId != id) return false;
        out = answer;
        return true;
    }

    void Run() {
        Grid values;
        std::int32_t boxSize = 0;
        std::uint64_t taken = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return stop || jobId != taken; });
                if (stop) return;
                values = job;
                boxSize = jobBoxSize;
                taken = jobId;
            }
            CompletionSearch search(values, boxSize);
            while (!search.Advance(NodesBetweenLooks)) {
                if (stopping || newestJob != taken) break;
            }
            if (!search.Finished()) continue;
            {
                std::lock_guard<std::mutex> lock(mutex);
                answer = search.Result();
                answerId = taken;
            }
            if (onAnswer) onAnswer();
        }
    }
};

DeadEndWatch::DeadEndWatch() = default;
DeadEndWatch::~DeadEndWatch() = default;
DeadEndWatch::DeadEndWatch(DeadEndWatch&&) noexcept = default;
DeadEndWatch& DeadEndWatch::operator=(DeadEndWatch&&) noexcept = default;

void DeadEndWatch::Update(const SudokuBoard& board) {
    if (!CanCheck(board)) return;
    if (!worker_) worker_ = std::make_unique<Worker>(onAnswer_);
    if (!posted_ || board.values != checked_) {
        checked_ = board.values;  // same shape: reuses the rows, allocates nothing
        posted_ = true;
        finished_ = false;
        worker_->Post(checked_, board.boxSize);
        return;
    }
    if (!finished_) finished_ = worker_->TakeAnswer(worker_->newestJob, result_);
}

void DeadEndWatch::Stop() {
    worker_.reset();
    posted_ = false;
    finished_ = false;
}

bool DeadEndWatch::Checks(const SudokuBoard& board) const {
    return finished_ && board.values == checked_;
}

bool DeadEndWatch::ShowsDeadEnd(const SudokuBoard& board) const {
    return Checks(board) && result_.verdict == Completion::DeadEnd;
}

const CompletionResult* DeadEndWatch::ResultFor(const SudokuBoard& board) const {
    return Checks(board) ? &result_ : nullptr;
}
