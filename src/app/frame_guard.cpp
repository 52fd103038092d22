#include "app/frame_guard.h"

#include "platform/stop_signals.h"

namespace {

FrameLock frameLock;

}  // namespace

void CreateFrameLock() {
    if (frameLock.handle) return;
    frameLock.handle = CreateNamedMutex(FrameMutexName, AppDataName);
    frameLock.held = false;
    if (!frameLock.handle) throw CGenericException(L"Can't create mutex", 0);
}

FrameLock& TheFrameLock() {
    return frameLock;
}

FrameLockScope::FrameLockScope() {
    if (!frameLock.handle) return;
    frameLock.held = frameLock.handle->Wait();
    stopping = !frameLock.held && StopSignals::Requested() != 0;
}

FrameLockScope::~FrameLockScope() {
    if (frameLock.held) {
        frameLock.handle->Release();
        frameLock.held = false;
    }
}
