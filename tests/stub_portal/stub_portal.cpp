// A stand-in for the desktop portal's settings, for the tests of the game's portal reader:
// on the session bus ($DBUS_SESSION_BUS_ADDRESS) it owns org.freedesktop.portal.Desktop and
// answers org.freedesktop.portal.Settings.ReadAll with the appearance namespace's
// color-scheme and contrast (first the two numbers on its command line). It prints "ready"
// once it owns the name; each line "KEY NUMBER" on its standard input sets that key and
// sends SettingChanged; the end of its input ends it.
#include <dbus/dbus.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* Interface = "org.freedesktop.portal.Settings";
constexpr const char* Path = "/org/freedesktop/portal/desktop";
const char* Namespace = "org.freedesktop.appearance";

dbus_uint32_t colorScheme = 0, contrast = 0;

void AppendSetting(DBusMessageIter* settings, const char* key, dbus_uint32_t value) {
    DBusMessageIter entry, variant;
    dbus_message_iter_open_container(settings, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "u", &variant);
    dbus_message_iter_append_basic(&variant, DBUS_TYPE_UINT32, &value);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(settings, &entry);
}

void AnswerReadAll(DBusConnection* bus, DBusMessage* call) {
    DBusMessage* reply = dbus_message_new_method_return(call);
    DBusMessageIter args, spaces, space, settings;
    dbus_message_iter_init_append(reply, &args);
    dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sa{sv}}", &spaces);
    dbus_message_iter_open_container(&spaces, DBUS_TYPE_DICT_ENTRY, nullptr, &space);
    dbus_message_iter_append_basic(&space, DBUS_TYPE_STRING, &Namespace);
    dbus_message_iter_open_container(&space, DBUS_TYPE_ARRAY, "{sv}", &settings);
    AppendSetting(&settings, "color-scheme", colorScheme);
    AppendSetting(&settings, "contrast", contrast);
    dbus_message_iter_close_container(&space, &settings);
    dbus_message_iter_close_container(&spaces, &space);
    dbus_message_iter_close_container(&args, &spaces);
    dbus_connection_send(bus, reply, nullptr);
    dbus_message_unref(reply);
}

void SendSettingChanged(DBusConnection* bus, const char* key, dbus_uint32_t value) {
    DBusMessage* signal = dbus_message_new_signal(Path, Interface, "SettingChanged");
    DBusMessageIter args, variant;
    dbus_message_iter_init_append(signal, &args);
    dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &Namespace);
    dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&args, DBUS_TYPE_VARIANT, "u", &variant);
    dbus_message_iter_append_basic(&variant, DBUS_TYPE_UINT32, &value);
    dbus_message_iter_close_container(&args, &variant);
    dbus_connection_send(bus, signal, nullptr);
    dbus_message_unref(signal);
    dbus_connection_flush(bus);
}

// A line "KEY NUMBER" from the input; false at its end.
bool TakeInputLine(DBusConnection* bus, std::string& pending) {
    char buffer[256];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) return false;
    pending.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
        char key[64];
        unsigned value = 0;
        if (std::sscanf(pending.substr(0, end).c_str(), "%63s %u", key, &value) != 2) continue;
        (std::strcmp(key, "contrast") == 0 ? contrast : colorScheme) = value;
        SendSettingChanged(bus, key, value);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2)
        colorScheme = std::strtoul(argv[1], nullptr, 10), contrast = std::strtoul(argv[2], nullptr, 10);
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    if (!bus || dbus_bus_request_name(bus, "org.freedesktop.portal.Desktop", DBUS_NAME_FLAG_DO_NOT_QUEUE,
                                      &error) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    int socket = -1;
    dbus_connection_get_unix_fd(bus, &socket);
    std::string pending;
    for (;;) {
        while (DBusMessage* message = dbus_connection_pop_message(bus)) {
            if (dbus_message_is_method_call(message, Interface, "ReadAll")) AnswerReadAll(bus, message);
            dbus_message_unref(message);
        }
        dbus_connection_flush(bus);
        pollfd waits[2] = {{socket, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) break;
        if (waits[1].revents != 0 && !TakeInputLine(bus, pending)) break;
        if (waits[0].revents != 0 && !dbus_connection_read_write(bus, 0)) break;
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return 0;
}
