// The frame lock both engine callbacks hold for their whole run, and the program's one
// exception type. The lock is a named, per-user mutex shared by every copy of the
// program, so no two copies run a callback at the same time; it is made before the
// program starts and outlives everything else. FrameLockScope holds it for one callback.
#pragma once

#include <memory>
#include <string>

#include "platform/frame_lock.h"

// The program's one exception type: a wide-character message and a code.
class CGenericException {
public:
    CGenericException(std::wstring text, int errorCode) : message(std::move(text)), code(errorCode) {}
    std::wstring message;
    int code;
};

// The program's name for its per-user folders and its named mutex.
constexpr const char* AppDataName = "veltrane-sudoku";
constexpr const char* FrameMutexName = "VeltraneSudokuFrameMutex-5D0C7A43-19E2-4B8F-A6D1-72E94C3B0F18";

struct FrameLock {
    std::unique_ptr<NamedMutex> handle;
    bool held = false;
};

// Creates the process-wide frame lock; throws CGenericException("Can't create mutex", 0)
// when the mutex cannot be created. Idempotent.
void CreateFrameLock();
FrameLock& TheFrameLock();

// Holds the frame lock for one callback: waits on entry, gives it back on every
// path out. A wait that a stop signal ended leaves the lock to the other copy;
// the callback then does nothing and the program goes on to its shutdown.
class FrameLockScope {
public:
    FrameLockScope();
    // True when the program is to stop without waiting for the lock any longer.
    bool Stopping() const { return stopping; }
    ~FrameLockScope();
    FrameLockScope(const FrameLockScope&) = delete;
    FrameLockScope& operator=(const FrameLockScope&) = delete;

private:
    bool stopping = false;
};
