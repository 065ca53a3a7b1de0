#include "Platform/Linux/EwmhAccessibilityTrust.hpp"
#include "X11TestDesktop.hpp"

#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

TEST(EwmhAccessibilityTrust, NeedsTheActiveWindowAndTheStackingOrder) {
    X11TestDesktop desktop({.windowManager = false});
    const EwmhAccessibilityTrust trust(desktop.connection);
    // A bare manager: a check window that names itself and too short a list of features.
    xcb_connection_t* c = desktop.observer->get();
    auto* ewmh = desktop.observer->ewmh();
    const xcb_window_t check = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, check, desktop.observer->root(), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_ewmh_set_supporting_wm_check(ewmh, desktop.observer->root(), check);
    xcb_ewmh_set_supporting_wm_check(ewmh, check, check);
    xcb_atom_t supported[] = {ewmh->_NET_ACTIVE_WINDOW};
    xcb_ewmh_set_supported(ewmh, 0, 1, supported);
    desktop.sync();
    EXPECT_FALSE(trust.isProcessTrusted());

    xcb_atom_t both[] = {ewmh->_NET_ACTIVE_WINDOW, ewmh->_NET_CLIENT_LIST_STACKING};
    xcb_ewmh_set_supported(ewmh, 0, 2, both);
    desktop.sync();
    EXPECT_TRUE(trust.isProcessTrusted());

    // A manager that ended leaves its properties on the root, but its check window is gone.
    xcb_destroy_window(c, check);
    desktop.sync();
    EXPECT_FALSE(trust.isProcessTrusted());
}

} // namespace
} // namespace velmora::testing
