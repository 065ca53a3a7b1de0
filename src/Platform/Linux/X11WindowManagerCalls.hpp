#pragma once

#include "Platform/Linux/ApplicationIdentities.hpp"
#include "Support/ProcessId.hpp"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <xcb/res.h>
#include <xcb/xcb.h>

namespace velmora {

// The window-manager calls that Velmora and its guard both make, over a bare XCB connection:
// no Qt and no event loop, so that the guard stays small.
//
//     const XcbReply<xcb_get_property_reply_t> state(xcb_get_property_reply(c, cookie, nullptr));
//     if (!isIconic(state.get())) {
//         requestIconic(c, root, window, internAtom(c, "WM_CHANGE_STATE"));
//     }

/// Frees what XCB hands out: replies, errors and events.
struct XcbFree {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <class T> using XcbReply = std::unique_ptr<T, XcbFree>;

/// XCB_ATOM_NONE without a connection (a Wayland session) or an answer.
[[nodiscard]] xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name);

/// Whether the reply to a request for a window's WM_STATE says it is iconic.
[[nodiscard]] bool isIconic(const xcb_get_property_reply_t* wmState);

/// Asks the window manager to iconify `window`; the caller flushes.
void requestIconic(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                   xcb_atom_t wmChangeState);

/// The process owning a window, from the answers to xcb_res_query_client_ids (for the local
/// client pid; null without the extension) and to a request for `_NET_WM_PID`. The server's
/// word comes first: the property is only what the client claims. Absent when neither names
/// a process.
[[nodiscard]] std::optional<ProcessId> windowOwner(const xcb_res_query_client_ids_reply_t* ids,
                                                   const xcb_get_property_reply_t* wmPid);

/// What a window's properties say about its application, with the program its owner runs.
[[nodiscard]] WindowIdentity windowIdentity(const xcb_get_property_reply_t* gtkApplicationId,
                                            const xcb_get_property_reply_t* kdeDesktopFile,
                                            const xcb_get_property_reply_t* wmClass,
                                            std::optional<ProcessId> owner);

} // namespace velmora
