#include "Platform/Linux/X11Screens.hpp"
#include "X11TestDesktop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

TEST(PlacementCoordinates, ConvertsBothWaysAboutThePrimaryMonitor) {
    struct Case {
        const char* name;
        Rect primary;
        Rect root;
        Rect placed;
        Rect topLeft;
    };
    const Case cases[] = {
        {"primary on the right, window on the left monitor",
         {1920, 0, 1280, 800},
         {10, 100, 400, 300},
         {-1910, 400, 400, 300},
         {-1910, 100, 400, 300}},
        {"primary lower than a taller neighbour",
         {1920, 280, 1280, 800},
         {2000, 300, 200, 100},
         {80, 680, 200, 100},
         {80, 20, 200, 100}},
    };
    for (const auto& c : cases) {
        const PlacementCoordinates coords{c.primary};
        EXPECT_EQ(coords.fromRoot(c.root), c.placed) << c.name;
        EXPECT_EQ(coords.toRoot(c.placed), c.root) << c.name;
        EXPECT_EQ(coords.topLeftFromRoot(c.root), c.topLeft) << c.name;
    }
}

TEST(X11Screens, FollowsAddedMonitorsAndPicksTheOneHoldingTheActiveWindow) {
    X11TestDesktop desktop;
    const X11Screens screens(desktop.connection);
    ASSERT_EQ(runCommand({"xrandr", "--setmonitor", "DP-1", "640/169x800/211+0+0", "screen"},
                         desktop.server.environment()),
              0);
    ASSERT_EQ(runCommand({"xrandr", "--setmonitor", "DP-2", "640/169x400/105+640+0", "none"},
                         desktop.server.environment()),
              0);
    // The server announces no monitor set by hand; making the output primary is announced.
    ASSERT_EQ(
        runCommand({"xrandr", "--output", "screen", "--primary"}, desktop.server.environment()), 0);
    ASSERT_TRUE(waitUntil([&] { return screens.screens().size() == 2; }));

    // DP-1 holds the primary output: its bottom-left corner is the origin, and DP-2's top
    // edge lines up with DP-1's.
    const Screen left{"DP-1", {0, 0, 640, 800}};
    const Screen right{"DP-2", {640, 400, 640, 400}};
    EXPECT_EQ(screens.screens(), (std::vector<Screen>{left, right}));

    EXPECT_EQ(screens.mainScreen(), left) << "no active window: the primary monitor";
    TestApplication onRight(desktop.server, {"--geometry", "200x100+800+100"});
    ASSERT_TRUE(waitUntil([&] { return desktop.activeWindow() == onRight.window(); }));
    EXPECT_EQ(screens.mainScreen(), right);
    TestApplication onLeft(desktop.server, {"--geometry", "200x100+100+100"});
    ASSERT_TRUE(waitUntil([&] { return desktop.activeWindow() == onLeft.window(); }));
    EXPECT_EQ(screens.mainScreen(), left);
}

} // namespace
} // namespace velmora::testing
