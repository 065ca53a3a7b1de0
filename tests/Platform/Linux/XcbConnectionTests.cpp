#include "FakeApplicationDirectory.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/X11WindowList.hpp"
#include "Platform/Linux/X11Workspace.hpp"
#include "X11TestDesktop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <gtest/gtest.h>
#include <poll.h>

namespace velmora::testing {
namespace {

TEST(XcbConnection, EventsThatArriveWhileARequestIsSentAreStillDelivered) {
    X11TestDesktop desktop({.windowManager = false});
    desktop.connection->selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    const xcb_atom_t marker = desktop.observer->atom("VELMORA_TEST_MARKER");
    int notified = 0;
    auto events = desktop.connection->observeEvents([&](const xcb_generic_event_t& event) {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        notified += (event.response_type & 0x7f) == XCB_PROPERTY_NOTIFY && notify.atom == marker;
    });
    const uint32_t value = 1;
    xcb_change_property(desktop.observer->get(), XCB_PROP_MODE_REPLACE, desktop.connection->root(),
                        marker, XCB_ATOM_CARDINAL, 32, 1, &value);
    desktop.sync();
    pollfd socket{xcb_get_file_descriptor(desktop.connection->get()), POLLIN, 0};
    ASSERT_EQ(poll(&socket, 1, 2000), 1) << "the notification never reached the socket";

    // Sending reads the waiting notification in before the event loop looks at the socket.
    xcb_no_operation(desktop.connection->get());
    desktop.connection->flush();
    EXPECT_TRUE(waitUntil([&] { return notified == 1; }));
}

TEST(XcbConnection, TellsOnceWhenTheServerGoesAndLeavesTheBackendAnsweringQuietly) {
    X11TestDesktop desktop;
    TestApplication editor(desktop.server, {"--wm-class", "editor,Editor"});
    auto screens = std::make_shared<X11Screens>(desktop.connection);
    X11WindowList windows(desktop.connection, desktop.clients, screens, [](auto) { return false; });
    X11Workspace workspace({desktop.connection, desktop.clients, desktop.runLoop,
                            std::make_shared<FakeApplicationDirectory>(), nullptr, desktop.logger,
                            "com.tovren.velmora"});
    ASSERT_TRUE(waitUntil([&] { return workspace.runningApplication(editor.pid()).has_value(); }));
    int lost = 0;
    auto subscription = desktop.connection->observeConnectionLost([&] { ++lost; });

    desktop.server.kill();
    ASSERT_TRUE(waitUntil([&] { return lost == 1; }));
    EXPECT_FALSE(desktop.connection->isConnected());
    EXPECT_FALSE(windows.onScreenWindows()) << "no server, no list";
    workspace.activate(editor.pid());
    workspace.hide(editor.pid());
    EXPECT_EQ(screens->screens().size(), 1u);
    EXPECT_TRUE(screens->mainScreen());
    // Nothing more is said: whatever those requests queued has run before this.
    bool drained = false;
    desktop.runLoop->post([&] { drained = true; });
    ASSERT_TRUE(waitUntil([&] { return drained; }));
    EXPECT_EQ(lost, 1);
}

} // namespace
} // namespace velmora::testing
