#include "app/puzzles/puzzle_maker.h"

#include <atomic>
#include <thread>

struct LogicPuzzleMaker::Job {
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::int32_t level = 0;
    LogicPuzzle puzzle;                     // written by the thread before done
    LogicMake outcome = LogicMake::Failed;  // likewise
    const std::function<void()> ready;
    std::thread thread;  // last: starts once everything above exists

    Job(std::int32_t forLevel, std::uint64_t seed, std::function<void()> onReady)
        : level(forLevel), ready(std::move(onReady)), thread([this, seed] { Make(seed); }) {}
    ~Job() {
        stop = true;
        thread.join();
    }

    void Make(std::uint64_t seed) {
        outcome = MakeLogicPuzzle(level, seed, puzzle, &stop);
        done = true;
        if (ready && !stop) ready();
    }
};

LogicPuzzleMaker::LogicPuzzleMaker() = default;
LogicPuzzleMaker::~LogicPuzzleMaker() = default;
LogicPuzzleMaker::LogicPuzzleMaker(LogicPuzzleMaker&&) noexcept = default;
LogicPuzzleMaker& LogicPuzzleMaker::operator=(LogicPuzzleMaker&&) noexcept = default;

void LogicPuzzleMaker::Start(std::int32_t level, std::uint64_t seed) {
    Drop();
    dropped_.reset();  // told to stop long ago: joins at once
    job_ = std::make_unique<Job>(level, seed, ready_);
}

bool LogicPuzzleMaker::Busy() const {
    return job_ != nullptr;
}

bool LogicPuzzleMaker::Take(LogicPuzzle& puzzle, LogicMake& outcome) {
    if (!job_ || !job_->done) return false;
    puzzle = std::move(job_->puzzle);
    outcome = job_->outcome;
    job_.reset();  // the thread has ended: the join does not wait
    return true;
}

void LogicPuzzleMaker::Drop() {
    if (!job_) return;
    job_->stop = true;
    dropped_ = std::move(job_);  // a job dropped before is joined here; it was told to stop long ago
}

void LogicPuzzleMaker::Stop() {
    Drop();
    dropped_.reset();
}
