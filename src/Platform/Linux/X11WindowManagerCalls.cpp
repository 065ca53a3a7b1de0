#include "Platform/Linux/X11WindowManagerCalls.hpp"

#include "Platform/Linux/XcbProperty.hpp"

#include <algorithm>
#include <string>
#include <unistd.h>

namespace velmora {
namespace {

// ICCCM 4.1.3.1 and 4.1.4.
constexpr std::uint32_t kIconicState = 3;

std::optional<ProcessId> localClientPid(const xcb_res_query_client_ids_reply_t* ids) {
    std::optional<ProcessId> pid;
    for (auto it = ids ? xcb_res_query_client_ids_ids_iterator(ids)
                       : xcb_res_client_id_value_iterator_t{};
         it.rem > 0; xcb_res_client_id_value_next(&it)) {
        const auto& [clientId, length] = *it.data;
        if ((clientId.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) && length >= 4) {
            pid = static_cast<ProcessId>(*xcb_res_client_id_value_value(it.data));
        }
    }
    return pid;
}

// An empty name says nothing; the next source of a name is asked instead.
std::optional<std::string> nonEmpty(std::string text) {
    return text.empty() ? std::nullopt : std::optional{std::move(text)};
}

// Up to the first zero byte; a property without text is absent.
std::optional<std::string> text(const xcb_get_property_reply_t* reply) {
    const auto values = propertyValues<char>(reply);
    return nonEmpty(std::string(values.begin(), std::find(values.begin(), values.end(), '\0')));
}

} // namespace

xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name) {
    if (!connection) {
        return XCB_ATOM_NONE;
    }
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

bool isIconic(const xcb_get_property_reply_t* wmState) {
    const auto values = propertyValues<std::uint32_t>(wmState);
    return !values.empty() && values.front() == kIconicState;
}

void requestIconic(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                   xcb_atom_t wmChangeState) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = wmChangeState;
    message.data.data32[0] = kIconicState;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

std::optional<ProcessId> windowOwner(const xcb_res_query_client_ids_reply_t* ids,
                                     const xcb_get_property_reply_t* wmPid) {
    std::optional<ProcessId> pid = localClientPid(ids);
    if (const auto claimed = propertyValues<std::uint32_t>(wmPid); !pid && !claimed.empty()) {
        pid = static_cast<ProcessId>(claimed.front());
    }
    return pid && *pid > 0 ? pid : std::nullopt;
}

WindowIdentity windowIdentity(const xcb_get_property_reply_t* gtkApplicationId,
                              const xcb_get_property_reply_t* kdeDesktopFile,
                              const xcb_get_property_reply_t* wmClass,
                              std::optional<ProcessId> owner) {
    WindowIdentity identity{.gtkApplicationId = text(gtkApplicationId),
                            .kdeDesktopFile = text(kdeDesktopFile)};
    // WM_CLASS: the instance and the class, each ending in a zero byte.
    const auto both = propertyValues<char>(wmClass);
    const auto split = std::find(both.begin(), both.end(), '\0');
    identity.wmClassInstance = nonEmpty(std::string(both.begin(), split));
    if (split != both.end()) {
        identity.wmClassClass =
            nonEmpty(std::string(std::next(split), std::find(std::next(split), both.end(), '\0')));
    }
    if (owner) {
        identity.executablePath = executableOf(*owner);
    }
    return identity;
}

} // namespace velmora
