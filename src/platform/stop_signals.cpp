#include "platform/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

volatile std::sig_atomic_t stopSignal = 0;
int wakePipe[2] = {-1, -1};  // read end, write end (never blocks)

void WriteWakeByte() {
    const char byte = 's';
    if (wakePipe[1] >= 0 && write(wakePipe[1], &byte, 1) < 0) {
        // A full pipe holds wake bytes enough already.
    }
}

extern "C" void RecordStopSignal(int signal) {
    const int savedErrno = errno;
    stopSignal = signal;
    WriteWakeByte();
    errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals() {
    stopSignal = 0;
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        fcntl(wakePipe[0], F_SETFL, 0);  // the reading end blocks
    } else {
        wakePipe[0] = wakePipe[1] = -1;  // no thread is woken; the flag still works
    }
    struct sigaction action {};
    action.sa_handler = RecordStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
    stopSignal = 0;  // a stop asked of this run does not carry over to a later one in the process
    for (int& fd : wakePipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void StopSignals::WaitForStop() {
    char byte = 0;
    while (wakePipe[0] >= 0 && read(wakePipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
}

void StopSignals::Interrupt() {
    WriteWakeByte();
}

int StopSignals::Requested() {
    return stopSignal;
}
