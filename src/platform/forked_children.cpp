#include "platform/forked_children.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace {

constexpr int kMostDescriptors = 4;

std::atomic<pid_t> gamePid{0};
std::atomic<int> closedInChildren[kMostDescriptors] = {{-1}, {-1}, {-1}, {-1}};

// Runs in the new child, before fork returns there: only async-signal-safe calls.
extern "C" void OnForkedChild() {
    const pid_t game = gamePid.load();
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The game may have ended between the fork and the line above.
    if (game != 0 && ::getppid() != game) ::_exit(1);
    // The descriptor's number stays open (on /dev/null), so that the child's copy of
    // its owner may still close it without closing another file of the same number.
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    for (std::atomic<int>& slot : closedInChildren) {
        const int fd = slot.exchange(-1);
        if (fd < 0) continue;
        if (nothing < 0 || ::dup3(nothing, fd, O_CLOEXEC) < 0) ::close(fd);
    }
    if (nothing >= 0) ::close(nothing);
}

}  // namespace

void GuardForkedChildren() {
    gamePid = ::getpid();
    static std::once_flag installed;  // a forked copy inherits the handler
    std::call_once(installed, [] { ::pthread_atfork(nullptr, nullptr, OnForkedChild); });
}

bool IsGameProcess() {
    const pid_t game = gamePid.load();
    return game == 0 || game == ::getpid();
}

void CloseInForkedChildren(int fd) {
    for (std::atomic<int>& slot : closedInChildren) {
        int free = -1;
        if (slot.compare_exchange_strong(free, fd)) return;
    }
}

void ForgetInForkedChildren(int fd) {
    for (std::atomic<int>& slot : closedInChildren) {
        int registered = fd;
        if (slot.compare_exchange_strong(registered, -1)) return;
    }
}
