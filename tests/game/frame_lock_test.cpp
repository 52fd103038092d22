// Two copies of the game share the frame lock: their callbacks never run at the
// same time, and both keep running, their frames interleaved.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <vector>

#include "app/startup.h"
#include "app/states.h"
#include "support/recording_engine.h"
#include "support/test_files.h"

namespace {

constexpr int FramesPerCopy = 150;

// Inside a callback: claim the shared owner slot, hold it a moment, give it back.
// Another copy inside its callback at the same time would find the slot taken or
// changed. Every claim is also appended to the order file.
int CheckExclusive(int slot, int order) {
    const int me = static_cast<int>(getpid());
    int owner = 0;
    int violations = 0;
    if (pread(slot, &owner, sizeof owner, 0) == sizeof owner && owner != 0) ++violations;
    if (pwrite(slot, &me, sizeof me, 0) != sizeof me) ++violations;
    if (write(order, &me, sizeof me) != sizeof me) ++violations;
    usleep(300);
    if (pread(slot, &owner, sizeof owner, 0) != sizeof owner || owner != me) ++violations;
    const int none = 0;
    if (pwrite(slot, &none, sizeof none, 0) != sizeof none) ++violations;
    return violations;
}

// One copy of the game: runs its frames on the recording engine, checking the lock
// from inside every callback. Exits 0 when no overlap was seen.
[[noreturn]] void RunCopy(const std::string& folder, const std::string& slotPath, const std::string& orderPath) {
    const int slot = open(slotPath.c_str(), O_RDWR);
    const int order = open(orderPath.c_str(), O_WRONLY | O_APPEND);
    int violations = 0;
    RecordingEngine& engine = RecordingEngine::Instance();
    engine.ResetRecording();
    engine.probe = [&] { violations += CheckExclusive(slot, order); };
    int frames = 0;
    engine.driver = [&](RecordingEngine&, InputFrame&) { return ++frames <= FramesPerCopy; };
    CreateFrameLock();
    RunOptions options;
    options.saveDirectory = folder;
    RunGame(options);
    _exit(violations == 0 && frames > FramesPerCopy ? 0 : 1);
}

}  // namespace

TEST(FrameLock, TwoCopiesAlternateAndNeverRunACallbackTogether) {
    TempFolder temp;
    const std::string slotPath = temp.File("slot"), orderPath = temp.File("order");
    WriteTextFile(slotPath, std::string(sizeof(int), '\0'));
    WriteTextFile(orderPath, "");

    std::vector<pid_t> copies;
    for (int i = 0; i < 2; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) RunCopy(temp.Path() + "/copy" + std::to_string(i) + "-", slotPath, orderPath);
        copies.push_back(pid);
    }
    for (pid_t pid : copies) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "copy " << pid << " saw an overlap";
    }

    std::ifstream in(orderPath, std::ios::binary);
    std::vector<int> order;
    for (int pid = 0; in.read(reinterpret_cast<char*>(&pid), sizeof pid);) order.push_back(pid);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 2u);
    int switches = 0;
    for (std::size_t k = 1; k < order.size(); ++k) switches += order[k] != order[k - 1];
    EXPECT_GT(switches, 10) << "the two copies' frames interleave";
}
