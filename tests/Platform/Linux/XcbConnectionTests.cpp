#include "FakeApplicationDirectory.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/X11WindowList.hpp"
#include "Platform/Linux/X11Workspace.hpp"
#include "X11TestDesktop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

TEST(XcbConnection, OpensNothingWithoutAServer) {
    auto runLoop = std::make_shared<QtRunLoop>();
    EXPECT_FALSE(XcbConnection::open(":9999", runLoop));
}

TEST(XcbConnection, TellsOnceWhenTheServerGoesAndLeavesTheBackendAnsweringQuietly) {
    X11TestDesktop desktop;
    TestApplication editor(desktop.server, {"--class", "editor,Editor"});
    auto screens = std::make_shared<X11Screens>(desktop.connection);
    X11WindowList windows(desktop.connection, desktop.clients, screens);
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
    EXPECT_FALSE(workspace.activate(999999));
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
