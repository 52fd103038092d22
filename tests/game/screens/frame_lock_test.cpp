// Two copies of the game share the frame lock: their callbacks never run at the
// same time, and both run all their frames. How the scheduler interleaves the two
// copies is not the lock's business and is not checked.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "app/startup.h"
#include "app/states.h"
#include "support/recording_engine.h"
#include "support/test_files.h"

namespace {

constexpr int FramesPerCopy = 150;

// Inside a callback: claim the shared owner slot, hold it a moment, give it back.
// Another copy inside its callback at the same time would find the slot taken or
// changed.
int CheckExclusive(int slot) {
    const int me = static_cast<int>(getpid());
    int owner = 0;
    int violations = 0;
    if (pread(slot, &owner, sizeof owner, 0) == sizeof owner && owner != 0) ++violations;
    if (pwrite(slot, &me, sizeof me, 0) != sizeof me) ++violations;
    usleep(300);
    if (pread(slot, &owner, sizeof owner, 0) != sizeof owner || owner != me) ++violations;
    const int none = 0;
    if (pwrite(slot, &none, sizeof none, 0) != sizeof none) ++violations;
    return violations;
}

// Both copies start their frames together: each says it is ready on one pipe and
// waits until the test closes the other.
struct StartLine {
    int ready[2] = {-1, -1};
    int go[2] = {-1, -1};
};

void WaitAtStartLine(const StartLine& line) {
    const char byte = 'r';
    if (write(line.ready[1], &byte, 1) != 1) _exit(2);
    close(line.ready[1]);  // so the test sees the end of the pipe if the other copy died
    char ignored = 0;
    while (read(line.go[0], &ignored, 1) > 0) {
    }
}

// One copy of the game, in a forked child: runs its frames on the recording engine,
// checking the lock from inside every callback. Exits 0 when every frame ran and no
// overlap was seen.
[[noreturn]] void RunCopy(const std::string& folder, const std::string& slotPath, const StartLine& line) {
    close(line.ready[0]);
    close(line.go[1]);
    // The test process may have made the frame lock already; a copy inheriting its open
    // lock file would share the lock with the other copy instead of competing for it.
    TheFrameLock().handle.reset();
    TheFrameLock().held = false;
    CreateFrameLock();

    const int slot = open(slotPath.c_str(), O_RDWR);
    int violations = 0, probes = 0;
    RecordingEngine& engine = RecordingEngine::Instance();
    engine.ResetRecording();
    engine.probe = [&] {
        ++probes;
        violations += CheckExclusive(slot);
    };
    int frames = 0;
    engine.driver = [&](RecordingEngine&, InputFrame&) {
        if (frames == 0) WaitAtStartLine(line);
        return ++frames <= FramesPerCopy;
    };
    RunOptions options;
    options.saveDirectory = folder;
    RunGame(options);
    _exit(violations == 0 && frames > FramesPerCopy && probes >= FramesPerCopy ? 0 : 1);
}

}  // namespace

TEST(FrameLock, TwoCopiesNeverRunACallbackTogether) {
    TempFolder temp;
    const std::string slotPath = temp.File("slot");
    WriteTextFile(slotPath, std::string(sizeof(int), '\0'));
    StartLine line;
    ASSERT_EQ(pipe(line.ready), 0);
    ASSERT_EQ(pipe(line.go), 0);

    std::vector<pid_t> copies;
    for (int i = 0; i < 2; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) RunCopy(temp.Path() + "/copy" + std::to_string(i) + "-", slotPath, line);
        copies.push_back(pid);
    }
    close(line.ready[1]);
    close(line.go[0]);
    char byte = 0;
    int ready = 0;
    while (ready < 2 && read(line.ready[0], &byte, 1) == 1) ++ready;  // ends early if a copy died
    close(line.go[1]);
    close(line.ready[0]);
    EXPECT_EQ(ready, 2) << "a copy ended before its first frame";

    for (pid_t pid : copies) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "copy " << pid << " saw an overlap or did not run all its frames";
    }
}
