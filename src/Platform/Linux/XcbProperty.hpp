#pragma once

#include <vector>
#include <xcb/xcb.h>

namespace velmora {

/// The items of a property reply read as `T` (uint32_t, xcb_atom_t, xcb_window_t, char);
/// empty when there is no reply or its format does not fit `T`.
///
///     auto reply = connection->reply(xcb_get_property_reply, cookie);
///     for (xcb_atom_t state : propertyValues<xcb_atom_t>(reply.get())) { ... }
template <class T> std::vector<T> propertyValues(const xcb_get_property_reply_t* reply) {
    if (!reply || reply->format != sizeof(T) * 8) {
        return {};
    }
    const auto* first = static_cast<const T*>(xcb_get_property_value(reply));
    return {first, first + xcb_get_property_value_length(reply) / static_cast<int>(sizeof(T))};
}

} // namespace velmora
