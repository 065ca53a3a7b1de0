#include "Platform/Linux/EwmhAccessibilityTrust.hpp"

#include <algorithm>

namespace velmora {

bool EwmhAccessibilityTrust::isProcessTrusted() const {
    xcb_connection_t* c = connection_->get();
    auto* ewmh = connection_->ewmh();
    const xcb_window_t root = connection_->root();
    const auto checkCookie =
        xcb_get_property(c, 0, root, ewmh->_NET_SUPPORTING_WM_CHECK, XCB_ATOM_WINDOW, 0, 1);
    const auto supportedCookie =
        xcb_get_property(c, 0, root, ewmh->_NET_SUPPORTED, XCB_ATOM_ATOM, 0, 4096);
    const auto check = connection_->reply(xcb_get_property_reply, checkCookie);
    const auto supported = connection_->reply(xcb_get_property_reply, supportedCookie);
    if (!check || !supported || xcb_get_property_value_length(check.get()) != 4) {
        return false;
    }
    // A manager that died leaves its property behind; a live one's check window names itself.
    const xcb_window_t window =
        *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
    const auto self = connection_->reply(
        xcb_get_property_reply,
        xcb_get_property(c, 0, window, ewmh->_NET_SUPPORTING_WM_CHECK, XCB_ATOM_WINDOW, 0, 1));
    if (!self || xcb_get_property_value_length(self.get()) != 4 ||
        *static_cast<const xcb_window_t*>(xcb_get_property_value(self.get())) != window) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const auto* end = atoms + xcb_get_property_value_length(supported.get()) / 4;
    return std::find(atoms, end, ewmh->_NET_ACTIVE_WINDOW) != end &&
           std::find(atoms, end, ewmh->_NET_CLIENT_LIST_STACKING) != end;
}

} // namespace velmora
