#include "platform/stop_signals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void RecordStopSignal(int signal) {
    stopSignal = signal;
}

}  // namespace

StopSignals::StopSignals() {
    stopSignal = 0;
    struct sigaction action {};
    action.sa_handler = RecordStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
    stopSignal = 0;  // a stop asked of this run does not carry over to a later one in the process
}

int StopSignals::Requested() {
    return stopSignal;
}
