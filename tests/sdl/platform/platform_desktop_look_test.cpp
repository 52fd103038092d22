// The portal reader against a real session bus: a dbus-daemon of the test's own (its
// configuration in a temporary folder) and the stand-in portal of tests/stub_portal. The
// reader hands over the desktop's look at start-up and again on SettingChanged.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <string>
#include <vector>

#include "app/theme_switch.h"
#include "platform/desktop_look.h"
#include "support/temp_folder.h"

extern char** environ;

namespace {

// A program started with pipes to its input and from its output; ended and waited for at the end.
struct Child {
    pid_t pid = -1;
    int input = -1, output = -1;

    Child(std::vector<std::string> args, const std::vector<std::string>& extraEnvironment = {}) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
        std::vector<char*> argv, envp;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment(extraEnvironment);
        for (char** e = environ; *e; ++e) environment.emplace_back(*e);
        for (std::string& e : environment) envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        input = in[1];
        output = out[0];
    }
    ~Child() {
        if (input >= 0) close(input);
        if (pid > 0) kill(pid, SIGTERM), waitpid(pid, nullptr, 0);
        if (output >= 0) close(output);
    }
    std::string ReadLine() const {
        std::string line;
        char c;
        while (read(output, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    void Say(const std::string& line) const {
        ASSERT_EQ(write(input, line.data(), line.size()), ssize_t(line.size()));
    }
};

// The looks a reader hands over, waited for as the frame loop would be woken.
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
    // The next look handed over (a generous cap keeps a broken reader from hanging the test).
    bool Next(DesktopLook& look) {
        std::unique_lock<std::mutex> lock(mutex);
        return posted.wait_for(lock, std::chrono::seconds(20), [&] { return mailbox.Take(look); });
    }
};

}  // namespace

TEST(PortalLookReader, ReadsTheDesktopsLookAtStartAndOnEveryChange) {
    TempFolder folder;
    std::ofstream(folder.File("session.conf"))
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:path="
        << folder.File("bus") << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
        << "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
        << "</policy></busconfig>\n";
    Child bus({"/usr/bin/dbus-daemon", "--nofork", "--print-address=1",
               "--config-file=" + folder.File("session.conf")});
    const std::string address = bus.ReadLine();
    ASSERT_FALSE(address.empty()) << "dbus-daemon did not start";
    Child portal({VELTRANE_STUB_PORTAL, "1", "0"}, {"DBUS_SESSION_BUS_ADDRESS=" + address});
    ASSERT_EQ(portal.ReadLine(), "ready");

    LookWaiter looks;
    DesktopLook look;
    {
        PortalLookReader reader(looks.mailbox, address);
        ASSERT_TRUE(looks.Next(look));
        EXPECT_EQ(ThemeOfDesktop(look), Theme::Dark);
        portal.Say("contrast 1\n");
        ASSERT_TRUE(looks.Next(look));
        EXPECT_EQ(ThemeOfDesktop(look), Theme::HighContrast);
        portal.Say("contrast 0\ncolor-scheme 2\n");
        ASSERT_TRUE(looks.Next(look));
        if (look.colorScheme != 2) {
            ASSERT_TRUE(looks.Next(look)) << "the second change";
        }
        EXPECT_EQ(ThemeOfDesktop(look), Theme::Classic);
    }
    // The reader stopped with its scope, while the bus and the portal still ran.
}
