// The workers off the frame thread (play/session/job_worker.h). Each job's work waits
// at the test's gate or for its stop flag, so every case is sequenced by hand.
#include "play/session/job_worker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What a test and the work it runs tell each other, under one lock.
struct Sequence {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> started;  // the jobs whose work began
    int ended = 0;             // works that saw their stop flag
    int ready = 0;             // ready callbacks
    bool open = false;         // the gate the work waits at

    template <typename Change>
    void Note(const Change& change) {
        std::lock_guard<std::mutex> lock(mutex);
        change();
        changed.notify_all();
    }
    void WaitUntil(const std::function<bool()>& done) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, done);
    }
    std::function<void()> ReadyCallback() {
        return [this] { Note([this] { ++ready; }); };
    }
    // Work that starts, waits for the gate to open, and returns value.
    int PastGate(int value) {
        Note([&] { started.push_back(value); });
        WaitUntil([this] { return open; });
        return value;
    }
    // Work that starts, waits until told to stop, says so, and returns value.
    int UntilStopped(const std::function<bool()>& stop, int value) {
        Note([&] { started.push_back(value); });
        while (!stop()) std::this_thread::yield();
        Note([this] { ++ended; });
        return value;
    }
};

}  // namespace

TEST(LatestJobWorker, TheNewestJobWinsAndTheReplyToAReplacedOneIsNeverTaken) {
    Sequence seq;
    bool replacedSawStop = false;
    LatestJobWorker<int, int> worker([&](const int& job, const JobStopFlag& stop) -> std::optional<int> {
        seq.PastGate(job);
        if (job == 1) replacedSawStop = stop();
        return job * 10;  // a reply even from the replaced job
    });
    worker.SetReadyCallback(seq.ReadyCallback());
    worker.Submit(1);
    seq.WaitUntil([&] { return !seq.started.empty(); });
    worker.Submit(2);
    worker.Submit(3);
    int reply = 0;
    EXPECT_FALSE(worker.TakeReply(reply)) << "nothing is in yet";
    seq.Note([&] { seq.open = true; });
    seq.WaitUntil([&] { return seq.ready == 2; });
    EXPECT_TRUE(replacedSawStop);
    EXPECT_EQ(seq.started, (std::vector<int>{1, 3})) << "job 2 was replaced before it started";
    ASSERT_TRUE(worker.TakeReply(reply));
    EXPECT_EQ(reply, 30);
    EXPECT_FALSE(worker.TakeReply(reply)) << "a reply is taken once";
}

TEST(LatestJobWorker, WorkUnderWaySeesItsStopFlagOnCancelStopAndDestruction) {
    for (const std::string how : {"Cancel", "Stop", "destruction"}) {
        Sequence seq;
        auto worker =
            std::make_unique<LatestJobWorker<int, int>>([&](const int& job, const JobStopFlag& stop) {
                return std::optional<int>(seq.UntilStopped(stop, job));
            });
        worker->Submit(1);
        seq.WaitUntil([&] { return !seq.started.empty(); });
        if (how == "Cancel") worker->Cancel();
        if (how == "Cancel") seq.WaitUntil([&] { return seq.ended == 1; });
        if (how == "Stop") worker->Stop();
        if (how == "destruction") worker.reset();
        EXPECT_EQ(seq.ended, 1) << how << ": the thread is joined only once its work has ended";
        int reply = 0;
        EXPECT_FALSE(worker && worker->TakeReply(reply)) << how;
    }
}

TEST(OneShotJob, TheFramePollsForTheResultWithoutWaitingAndIsWoken) {
    Sequence seq;
    OneShotJob<int> job;
    job.Start([&](const std::atomic<bool>&) { return seq.PastGate(7); }, seq.ReadyCallback());
    int result = 0;
    EXPECT_TRUE(job.Busy());
    EXPECT_FALSE(job.Take(result));
    seq.Note([&] { seq.open = true; });
    seq.WaitUntil([&] { return seq.ready == 1; });
    ASSERT_TRUE(job.Take(result));
    EXPECT_EQ(result, 7);
    EXPECT_FALSE(job.Busy());
}

TEST(OneShotJob, ADroppedJobSeesItsStopFlagIsJoinedAndWakesNoOne) {
    for (const std::string how : {"Stop", "Start", "destruction", "TellToStop"}) {
        Sequence seq;
        auto job = std::make_unique<OneShotJob<int>>();
        auto work = [&](const std::atomic<bool>& stop) {
            return seq.UntilStopped([&] { return stop.load(); }, 1);
        };
        job->Start(work, seq.ReadyCallback());
        seq.WaitUntil([&] { return !seq.started.empty(); });
        if (how == "Stop") job->Stop();
        if (how == "Start") job->Start([](const std::atomic<bool>&) { return 2; });
        if (how == "destruction") job.reset();
        if (how == "TellToStop") job->TellToStop();  // the work ends with no join
        if (how == "TellToStop") seq.WaitUntil([&] { return seq.ended == 1; });
        EXPECT_EQ(seq.ended, 1) << how;
        EXPECT_EQ(seq.ready, 0) << how;
    }
}
