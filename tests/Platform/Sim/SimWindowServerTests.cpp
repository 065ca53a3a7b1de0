#include "Platform/Sim/SimWindowServer.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::vector<Rect> framesOf(const SimWindowServer& server) {
    std::vector<Rect> frames;
    const auto windows = server.onScreenWindows();
    for (const WindowListEntry& entry : *windows) {
        frames.push_back({*entry.x, *entry.y, *entry.width, *entry.height});
    }
    return frames;
}

TEST(SimWindowServer, AMovedWindowKeepsItsPlaceInTheOrder) {
    SimWindowServer server;
    server.addWindow(7, 0, 0, 100, 100);
    server.addWindow(7, 10, 10, 100, 100);
    server.addWindow(8, 0, 0, 100, 100);
    EXPECT_TRUE(server.moveWindow(7, {0, 0, 100, 100}, {50, 60, 70, 80}));
    EXPECT_EQ(framesOf(server),
              (std::vector<Rect>{{0, 0, 100, 100}, {10, 10, 100, 100}, {50, 60, 70, 80}}));
    EXPECT_FALSE(server.moveWindow(9, {0, 0, 100, 100}, {1, 1, 1, 1}));
    EXPECT_FALSE(server.moveWindow(7, {0, 0, 100, 100}, {1, 1, 1, 1})) << "that one is 8's";
}

TEST(SimWindowServer, RemovingAWindowLeavesTheProcesssOtherWindows) {
    SimWindowServer server;
    server.addWindow(7, 0, 0, 100, 100);
    server.addWindow(7, 10, 10, 100, 100);
    EXPECT_TRUE(server.removeWindow(7, {0, 0, 100, 100}));
    EXPECT_EQ(framesOf(server), (std::vector<Rect>{{10, 10, 100, 100}}));
    EXPECT_FALSE(server.removeWindow(7, {0, 0, 100, 100}));
}

} // namespace
} // namespace velmora
