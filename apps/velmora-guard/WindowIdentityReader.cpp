#include "WindowIdentityReader.hpp"

#include "Platform/Linux/XcbProperty.hpp"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace velmora {

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, FreeDeleter>;

xcb_atom_t intern(xcb_connection_t* connection, const char* name) {
    // Without an X server (a Wayland session) there is nothing to name.
    if (!connection) {
        return XCB_ATOM_NONE;
    }
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::optional<std::string> nonEmpty(std::string text) {
    return text.empty() ? std::nullopt : std::optional(std::move(text));
}

std::optional<std::string> executableOf(ProcessId pid) {
    char target[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof target)) {
        return std::nullopt;
    }
    return std::string(target, static_cast<std::size_t>(length));
}

} // namespace

WindowIdentityReader::WindowIdentityReader(xcb_connection_t* connection)
    : connection_(connection), gtkApplicationId_(intern(connection, "_GTK_APPLICATION_ID")),
      kdeDesktopFile_(intern(connection, "_KDE_NET_WM_DESKTOP_FILE")) {}

WindowIdentity WindowIdentityReader::read(xcb_window_t window, ProcessId owner) const {
    const auto upToZero = [](std::optional<std::string> value) -> std::optional<std::string> {
        return value ? nonEmpty(value->substr(0, value->find('\0'))) : std::nullopt;
    };
    WindowIdentity identity{.gtkApplicationId = upToZero(text(window, gtkApplicationId_)),
                            .kdeDesktopFile = upToZero(text(window, kdeDesktopFile_))};
    // WM_CLASS: the instance and the class, each ending in a zero byte.
    if (const auto both = text(window, XCB_ATOM_WM_CLASS)) {
        const auto split = both->find('\0');
        identity.wmClassInstance = nonEmpty(both->substr(0, split));
        if (split != std::string::npos) {
            const std::string rest = both->substr(split + 1);
            identity.wmClassClass = nonEmpty(rest.substr(0, rest.find('\0')));
        }
    }
    if (owner > 0) {
        identity.executablePath = executableOf(owner);
    }
    return identity;
}

std::optional<std::string> WindowIdentityReader::text(xcb_window_t window,
                                                      xcb_atom_t property) const {
    const PropertyReply reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    const auto values = propertyValues<char>(reply.get());
    if (values.empty()) {
        return std::nullopt;
    }
    return std::string(values.begin(), values.end());
}

} // namespace velmora
