// The portal reader against a real session bus: a dbus-daemon of the test's own (its
// configuration in a temporary folder) and the stand-in portal of tests/stub_portal. The
// reader hands over the desktop's look at start-up and again on SettingChanged.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/theme_switch.h"
#include "platform/desktop_look.h"
#include "support/temp_folder.h"

namespace {

std::string Line(FILE* from) {
    char text[512] = {};
    if (!from || !std::fgets(text, sizeof text, from)) return {};
    std::string line = text;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}

// A program of the test's, started through the shell, that prints its process id on a line
// of its output when it is ready; ended with SIGTERM and waited for at the end.
struct Started {
    FILE* output;
    std::string ready;  // the lines before the process id
    int pid;
    Started(const std::string& command, int pidLine) : output(popen(("exec " + command).c_str(), "r")) {
        for (int line = 0; line < pidLine; ++line) ready = Line(output);
        pid = std::atoi(Line(output).c_str());
    }
    ~Started() {
        if (pid > 0) kill(pid, SIGTERM);
        if (output) pclose(output);
    }
};

// The looks a reader hands over, waited for as the frame loop is woken.
struct LookWaiter {
    DesktopLookMailbox mailbox;
    std::mutex mutex;
    std::condition_variable posted;
    LookWaiter() {
        mailbox.SetReadyCallback([this] {
            std::lock_guard<std::mutex> lock(mutex);
            posted.notify_all();
        });
    }
    // The next look handed over (the cap keeps a broken reader from hanging the test).
    bool Next(DesktopLook& look) {
        std::unique_lock<std::mutex> lock(mutex);
        return posted.wait_for(lock, std::chrono::seconds(20), [&] { return mailbox.Take(look); });
    }
};

}  // namespace

TEST(PortalLookReader, ReadsTheDesktopsLookAtStartAndOnEveryChange) {
    TempFolder folder;
    std::ofstream(folder.File("session.conf"))
        << "<busconfig><type>session</type><listen>unix:path=" << folder.File("bus")
        << "</listen><auth>EXTERNAL</auth><policy "
        << "context='default'><allow send_destination='*'/><allow "
        << "receive_sender='*'/><allow own='*'/></policy></busconfig>\n";
    const std::string config = folder.File("session.conf");
    const Started bus("/usr/bin/dbus-daemon --nofork --print-address=1 --print-pid=1 --config-file=" + config,
                      1);
    ASSERT_GT(bus.pid, 0) << "dbus-daemon did not start";
    const std::string& address = bus.ready;
    {
        const Started portal("env DBUS_SESSION_BUS_ADDRESS='" + address + "' " VELTRANE_STUB_PORTAL " 1 0",
                             0);
        ASSERT_GT(portal.pid, 0) << "it owns the portal's name once it prints its id";
        LookWaiter looks;
        DesktopLook look;
        PortalLookReader reader(looks.mailbox, address, 20000);  // however busy the machine
        ASSERT_TRUE(looks.Next(look));
        EXPECT_EQ(ThemeOfDesktop(look), Theme::Dark);
        kill(portal.pid, SIGUSR1);
        ASSERT_TRUE(looks.Next(look));
        EXPECT_EQ(ThemeOfDesktop(look), Theme::HighContrast);
        kill(portal.pid, SIGUSR2);
        while (look.colorScheme != 2 && looks.Next(look)) {
        }
        EXPECT_EQ(ThemeOfDesktop(look), Theme::Classic) << "contrast 0, color-scheme 2";
    }  // the reader stops, then the portal, then the bus
}
