// A stand-in for the desktop portal's settings, for the test of the game's portal reader.
// On the session bus ($DBUS_SESSION_BUS_ADDRESS) it owns org.freedesktop.portal.Desktop,
// prints its process id once it does, and answers org.freedesktop.portal.Settings.ReadAll
// with the appearance namespace's color-scheme and contrast (the two numbers on its command
// line). SIGUSR1 sets contrast 1, SIGUSR2 contrast 0 and color-scheme 2; each change is
// sent as SettingChanged.
#include <dbus/dbus.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

const char* Interface = "org.freedesktop.portal.Settings";
const char* Space = "org.freedesktop.appearance";
const char* Keys[] = {"color-scheme", "contrast"};
dbus_uint32_t values[] = {0, 0};
volatile std::sig_atomic_t change = 0;

// A key and its value as a string and a variant.
void AppendSetting(DBusMessageIter* to, int key) {
    DBusMessageIter variant;
    dbus_message_iter_append_basic(to, DBUS_TYPE_STRING, &Keys[key]);
    dbus_message_iter_open_container(to, DBUS_TYPE_VARIANT, "u", &variant);
    dbus_message_iter_append_basic(&variant, DBUS_TYPE_UINT32, &values[key]);
    dbus_message_iter_close_container(to, &variant);
}

// ReadAll's answer, a{sa{sv}}, with the one namespace.
void AnswerReadAll(DBusConnection* bus, DBusMessage* call) {
    DBusMessage* reply = dbus_message_new_method_return(call);
    DBusMessageIter args, spaces, space, settings, setting;
    dbus_message_iter_init_append(reply, &args);
    dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sa{sv}}", &spaces);
    dbus_message_iter_open_container(&spaces, DBUS_TYPE_DICT_ENTRY, nullptr, &space);
    dbus_message_iter_append_basic(&space, DBUS_TYPE_STRING, &Space);
    dbus_message_iter_open_container(&space, DBUS_TYPE_ARRAY, "{sv}", &settings);
    for (int key = 0; key < 2; ++key) {
        dbus_message_iter_open_container(&settings, DBUS_TYPE_DICT_ENTRY, nullptr, &setting);
        AppendSetting(&setting, key);
        dbus_message_iter_close_container(&settings, &setting);
    }
    dbus_message_iter_close_container(&space, &settings);
    dbus_message_iter_close_container(&spaces, &space);
    dbus_message_iter_close_container(&args, &spaces);
    dbus_connection_send(bus, reply, nullptr);
    dbus_message_unref(reply);
}

void Change(DBusConnection* bus, int key, dbus_uint32_t value) {
    values[key] = value;
    DBusMessage* signal =
        dbus_message_new_signal("/org/freedesktop/portal/desktop", Interface, "SettingChanged");
    DBusMessageIter args;
    dbus_message_iter_init_append(signal, &args);
    dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &Space);
    AppendSetting(&args, key);
    dbus_connection_send(bus, signal, nullptr);
    dbus_message_unref(signal);
}

}  // namespace

int main(int argc, char** argv) {
    for (int key = 0; key < 2 && key + 1 < argc; ++key)
        values[key] = std::strtoul(argv[key + 1], nullptr, 10);
    std::signal(SIGUSR1, [](int) { change = 1; });
    std::signal(SIGUSR2, [](int) { change = 2; });
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, nullptr);
    if (!bus || dbus_bus_request_name(bus, "org.freedesktop.portal.Desktop", DBUS_NAME_FLAG_DO_NOT_QUEUE,
                                      nullptr) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER)
        return 1;
    std::printf("%d\n", static_cast<int>(getpid()));
    std::fflush(stdout);
    while (dbus_connection_read_write(bus, 50)) {  // looks at the signals' flag every 50 ms
        if (change == 1) Change(bus, 1, 1);
        if (change == 2) Change(bus, 1, 0), Change(bus, 0, 2);
        change = 0;
        while (DBusMessage* message = dbus_connection_pop_message(bus)) {
            if (dbus_message_is_method_call(message, Interface, "ReadAll")) AnswerReadAll(bus, message);
            dbus_message_unref(message);
        }
    }
    return 0;
}
