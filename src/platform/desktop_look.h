// The desktop's look as the XDG desktop portal tells it: org.freedesktop.portal.Settings,
// namespace org.freedesktop.appearance, "color-scheme" (0 no preference, 1 dark, 2 light)
// and "contrast" (0 normal, 1 high). A reader thread of its own asks the portal over the
// session D-Bus once at start-up and then listens for its SettingChanged signals; it hands
// every look over through a mailbox, whose callback wakes the frame loop, so the frame
// never waits for the bus. No bus, no portal, or no answer within PortalAnswerMilliseconds
// leaves the mailbox empty. PortalLookReader owns its thread and its private connection;
// the mailbox owns the newest look not yet taken.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// The portal's values as it gave them; a value it did not give stays 0 (no preference,
// normal contrast).
struct DesktopLook {
    std::uint32_t colorScheme = 0;
    std::uint32_t contrast = 0;
    bool operator==(const DesktopLook& other) const {
        return colorScheme == other.colorScheme && contrast == other.contrast;
    }
};
constexpr std::uint32_t PortalDarkScheme = 1;
constexpr std::uint32_t PortalHighContrast = 1;

// The newest look a reader posted, taken once by the frame.
class DesktopLookMailbox {
public:
    // Called (on the reader's thread) after every post; set before a reader starts.
    void SetReadyCallback(std::function<void()> callback) { ready = std::move(callback); }
    void Post(const DesktopLook& look);
    // The newest look posted since the last Take; false when none was.
    bool Take(DesktopLook& look);

private:
    std::mutex mutex;
    DesktopLook newest;
    bool fresh = false;
    std::function<void()> ready;
};

// The first answer counts only within this time of the reader's start.
constexpr int PortalAnswerMilliseconds = 300;

class PortalLookReader {
public:
    // Starts reading for mailbox on the bus at busAddress (a D-Bus address); empty: the
    // session bus, $DBUS_SESSION_BUS_ADDRESS or else $XDG_RUNTIME_DIR/bus where that socket
    // exists (never a bus started for the purpose). The first answer counts only within
    // answerMilliseconds of the start (a test on a busy machine gives it longer).
    explicit PortalLookReader(DesktopLookMailbox& mailbox, std::string busAddress = {},
                              int answerMilliseconds = PortalAnswerMilliseconds);
    // Stops the thread at once, whatever it waits for.
    ~PortalLookReader();
    PortalLookReader(const PortalLookReader&) = delete;
    PortalLookReader& operator=(const PortalLookReader&) = delete;

private:
    void Run();

    DesktopLookMailbox& mailbox;
    std::string address;
    int answerMilliseconds;
    int stopPipe[2] = {-1, -1};
    std::thread thread;
};
