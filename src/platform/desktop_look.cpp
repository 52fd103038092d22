#include "platform/desktop_look.h"

#include <dbus/dbus.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr const char* PortalService = "org.freedesktop.portal.Desktop";
constexpr const char* PortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* SettingsInterface = "org.freedesktop.portal.Settings";
constexpr const char* AppearanceNamespace = "org.freedesktop.appearance";
constexpr const char* BusService = "org.freedesktop.DBus";
constexpr const char* BusPath = "/org/freedesktop/DBus";
constexpr const char* SettingChangedRule =
    "type='signal',interface='org.freedesktop.portal.Settings',member='SettingChanged',"
    "path='/org/freedesktop/portal/desktop',arg0='org.freedesktop.appearance'";

struct ConnectionCloser {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

using Clock = std::chrono::steady_clock;

// The session bus's address; empty when there is none to reach.
std::string SessionBusAddress() {
    const char* given = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (given && *given) return given;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return {};
    const std::string socket = std::string(runtime) + "/bus";
    struct stat status {};
    if (stat(socket.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return {};
    char* escaped = dbus_address_escape_value(socket.c_str());
    if (!escaped) return {};
    std::string address = std::string("unix:path=") + escaped;
    dbus_free(escaped);
    return address;
}

// Milliseconds left until deadline, at least 1 (0 would be libdbus's default of 25 s).
int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 1 ? static_cast<int>(left) : 1;
}

// Sends a method call and waits for its reply until deadline; null for an error or no answer.
Message Call(DBusConnection* connection, DBusMessage* call, Clock::time_point deadline) {
    if (!call) return nullptr;
    Message owned(call);
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* reply =
        dbus_connection_send_with_reply_and_block(connection, call, MillisecondsLeft(deadline), &error);
    dbus_error_free(&error);
    return Message(reply);
}

Message BusCall(DBusConnection* connection, const char* method, const char* argument,
                Clock::time_point deadline) {
    DBusMessage* call = dbus_message_new_method_call(BusService, BusPath, BusService, method);
    if (call && argument && !dbus_message_append_args(call, DBUS_TYPE_STRING, &argument, DBUS_TYPE_INVALID)) {
        dbus_message_unref(call);
        return nullptr;
    }
    return Call(connection, call, deadline);
}

// The number a value holds, variants around it unwrapped (the portal's older Read wraps
// twice); false for a value of another type.
bool ReadNumber(DBusMessageIter value, std::uint32_t& number) {
    for (int depth = 0; depth < 4 && dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_VARIANT; ++depth) {
        DBusMessageIter inner;
        dbus_message_iter_recurse(&value, &inner);
        value = inner;
    }
    const int type = dbus_message_iter_get_arg_type(&value);
    if (type != DBUS_TYPE_UINT32 && type != DBUS_TYPE_INT32) return false;
    dbus_uint32_t raw = 0;  // an int32 reads as its bits: a negative one is no value the portal has
    dbus_message_iter_get_basic(&value, &raw);
    number = raw;
    return true;
}

// One setting of the appearance namespace into the look; others are left alone.
void ApplySetting(const char* space, const char* key, DBusMessageIter value, DesktopLook& look) {
    if (std::strcmp(space, AppearanceNamespace) != 0) return;
    std::uint32_t number = 0;
    if (!ReadNumber(value, number)) return;
    if (std::strcmp(key, "color-scheme") == 0) look.colorScheme = number;
    if (std::strcmp(key, "contrast") == 0) look.contrast = number;
}

// The string at iter, then iter moved on; null when it holds none.
const char* NextString(DBusMessageIter& iter) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_STRING) return nullptr;
    const char* text = nullptr;
    dbus_message_iter_get_basic(&iter, &text);
    dbus_message_iter_next(&iter);
    return text;
}

// ReadAll's answer, a{sa{sv}}: every namespace with its settings.
void ReadAllAnswer(DBusMessage* reply, DesktopLook& look) {
    DBusMessageIter args, spaces;
    if (!dbus_message_iter_init(reply, &args) || dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_ARRAY)
        return;
    for (dbus_message_iter_recurse(&args, &spaces);
         dbus_message_iter_get_arg_type(&spaces) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&spaces)) {
        DBusMessageIter entry, settings;
        dbus_message_iter_recurse(&spaces, &entry);
        const char* space = NextString(entry);
        if (!space || dbus_message_iter_get_arg_type(&entry) != DBUS_TYPE_ARRAY) continue;
        for (dbus_message_iter_recurse(&entry, &settings);
             dbus_message_iter_get_arg_type(&settings) == DBUS_TYPE_DICT_ENTRY;
             dbus_message_iter_next(&settings)) {
            DBusMessageIter setting;
            dbus_message_iter_recurse(&settings, &setting);
            if (const char* key = NextString(setting)) ApplySetting(space, key, setting, look);
        }
    }
}

// SettingChanged (namespace, key, value); false for any other message.
bool ReadSettingChanged(DBusMessage* message, DesktopLook& look) {
    if (!dbus_message_is_signal(message, SettingsInterface, "SettingChanged")) return false;
    DBusMessageIter args;
    if (!dbus_message_iter_init(message, &args)) return false;
    const char* space = NextString(args);
    const char* key = space ? NextString(args) : nullptr;
    if (!key) return false;
    ApplySetting(space, key, args, look);
    return true;
}

}  // namespace

void DesktopLookMailbox::Post(const DesktopLook& look) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        newest = look;
        fresh = true;
    }
    if (ready) ready();
}

bool DesktopLookMailbox::Take(DesktopLook& look) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!fresh) return false;
    look = newest;
    fresh = false;
    return true;
}

PortalLookReader::PortalLookReader(DesktopLookMailbox& mailbox, std::string busAddress,
                                   int answerMilliseconds)
    : mailbox(mailbox),
      address(busAddress.empty() ? SessionBusAddress() : std::move(busAddress)),
      answerMilliseconds(answerMilliseconds) {
    if (address.empty() || pipe2(stopPipe, O_CLOEXEC) != 0) return;
    dbus_threads_init_default();
    thread = std::thread([this] { Run(); });
}

PortalLookReader::~PortalLookReader() {
    if (thread.joinable()) {
        const char stop = 1;
        while (write(stopPipe[1], &stop, 1) < 0 && errno == EINTR) {
        }
        thread.join();
    }
    for (int fd : stopPipe)
        if (fd >= 0) close(fd);
}

// Connects, says hello, subscribes to SettingChanged and asks for the appearance, all
// within the answer time; then hands over every change until told to stop or the bus goes.
void PortalLookReader::Run() {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(answerMilliseconds);
    DBusError error;
    dbus_error_init(&error);
    Connection connection(dbus_connection_open_private(address.c_str(), &error));
    dbus_error_free(&error);
    if (!connection) return;
    DBusConnection* bus = connection.get();
    dbus_connection_set_exit_on_disconnect(bus, false);
    if (!BusCall(bus, "Hello", nullptr, deadline) || !BusCall(bus, "AddMatch", SettingChangedRule, deadline))
        return;

    DesktopLook look;
    DBusMessage* readAll =
        dbus_message_new_method_call(PortalService, PortalPath, SettingsInterface, "ReadAll");
    const char* spaces[] = {AppearanceNamespace};
    const char** spacesArgument = spaces;
    if (readAll && dbus_message_append_args(readAll, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING, &spacesArgument, 1,
                                            DBUS_TYPE_INVALID)) {
        Message reply = Call(bus, readAll, deadline);
        if (reply && dbus_message_get_type(reply.get()) == DBUS_MESSAGE_TYPE_METHOD_RETURN &&
            Clock::now() <= deadline) {
            ReadAllAnswer(reply.get(), look);
            mailbox.Post(look);
        }
    } else if (readAll) {
        dbus_message_unref(readAll);
    }

    int socket = -1;
    if (!dbus_connection_get_unix_fd(bus, &socket)) return;
    for (;;) {
        while (DBusMessage* raw = dbus_connection_pop_message(bus)) {
            const Message message(raw);
            if (ReadSettingChanged(message.get(), look)) mailbox.Post(look);
        }
        pollfd waits[2] = {{socket, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        if (poll(waits, 2, -1) < 0 && errno != EINTR) return;
        if (waits[1].revents != 0) return;
        if (!dbus_connection_read_write(bus, 0)) return;  // the bus went away
    }
}
