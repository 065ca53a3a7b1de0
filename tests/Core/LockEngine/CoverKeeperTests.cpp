#include "Core/LockEngine/CoverKeeper.hpp"
#include "Platform/Sim/SimDesktop.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>
#include <set>

namespace velmora::testing {
namespace {

constexpr ProcessId kLocked = 501;
// The window server's frame of the locked window, and where a cover goes on the 982-high display.
const Rect kWindow{100, 100, 800, 600};
const Rect kPlaced{100, 282, 800, 600};

class CoverKeeperTest : public ::testing::Test {
protected:
    CoverKeeperTest() {
        desktop.windowServer->setAnnouncesChanges(true);
        keeper = CoverKeeper::create({desktop.windowServer, desktop.screens, desktop.coverWindows,
                                      desktop.loop, std::make_shared<RecordingLogger>()},
                                     [this](ProcessId pid) { return locked.contains(pid); });
    }

    void addWindow(ProcessId pid, const Rect& frame) {
        desktop.windowServer->addWindow(pid, frame.x, frame.y, frame.width, frame.height);
    }

    /// The number of the window at `frame`.
    WindowNumber numberOf(const Rect& frame) const {
        const auto windows = desktop.windowServer->onScreenWindows();
        for (const auto& entry : *windows) {
            if (entry.x == frame.x && entry.y == frame.y) {
                return *entry.number;
            }
        }
        ADD_FAILURE() << "no window at " << describe(frame);
        return 0;
    }

    bool coveredDirectly(const Rect& frame) const {
        return !desktop.windowServer->coversDirectlyAbove(numberOf(frame)).empty();
    }

    SimDesktop desktop;
    std::set<ProcessId> locked{kLocked};
    std::shared_ptr<CoverKeeper> keeper;
};

TEST_F(CoverKeeperTest, FollowsAnnouncementsWithOneLookPerTurnAndNoClock) {
    addWindow(kLocked, kWindow);
    keeper->start();
    ASSERT_TRUE(coveredDirectly(kWindow));
    const auto queries = desktop.windowServer->queryCount();
    const auto shown = desktop.coverWindows->shownCount();

    desktop.loop->advance(Seconds{60});
    EXPECT_EQ(desktop.windowServer->queryCount(), queries) << "nothing is polled at rest";
    EXPECT_EQ(desktop.coverWindows->shownCount(), shown);

    Rect at = kWindow;
    for (int step = 0; step < 5; ++step) {
        const Rect next{at.x + 10, at.y, at.width, at.height};
        ASSERT_TRUE(desktop.windowServer->moveWindow(kLocked, at, next));
        at = next;
    }
    desktop.loop->runUntilIdle();
    EXPECT_EQ(desktop.windowServer->queryCount(), queries + 1);
    EXPECT_EQ(keeper->placements().front().frame, (Rect{150, 282, 800, 600}));
}

// Polling where nothing is announced, and a raised window: every-window.scenario and
// covers-follow-windows.scenario.
TEST_F(CoverKeeperTest, CoversStayWhileTheWindowServerGivesNoList) {
    addWindow(kLocked, kWindow);
    keeper->start();
    desktop.windowServer->setUnavailable(true);
    locked.clear();
    keeper->refresh();
    EXPECT_EQ(keeper->placements().size(), 1u);
    desktop.windowServer->setUnavailable(false);
    keeper->refresh();
    EXPECT_TRUE(keeper->placements().empty());
}

TEST_F(CoverKeeperTest, CoversAreReusedAndAllGoWhenStopped) {
    addWindow(kLocked, kWindow);
    addWindow(kLocked, {1000, 100, 300, 200});
    keeper->start();
    ASSERT_EQ(keeper->placements().size(), 2u);
    locked.clear();
    keeper->refresh();
    locked.insert(kLocked);
    keeper->refresh();
    EXPECT_EQ(desktop.coverWindows->madeCount(), 2u);
    keeper->stop();
    EXPECT_TRUE(keeper->placements().empty());
    EXPECT_FALSE(coveredDirectly(kWindow));
    addWindow(kLocked, {0, 0, 100, 100});
    desktop.loop->runUntilIdle();
    EXPECT_TRUE(keeper->placements().empty()) << "a stopped keeper follows nothing";
}

TEST_F(CoverKeeperTest, RemembersWhereALockedWindowWasAfterItLeftTheScreen) {
    addWindow(kLocked, kWindow);
    keeper->start();
    desktop.windowServer->removeWindowsOf(kLocked);
    desktop.loop->runUntilIdle();
    EXPECT_EQ(keeper->lastKnownFrame(kLocked), kPlaced);
    locked.clear();
    keeper->refresh();
    EXPECT_EQ(keeper->lastKnownFrame(kLocked), std::nullopt) << "forgotten once unlocked";

    // Unlocked with its window still shown: forgotten too.
    locked.insert(kLocked);
    addWindow(kLocked, kWindow);
    desktop.loop->runUntilIdle();
    ASSERT_EQ(keeper->lastKnownFrame(kLocked), kPlaced);
    locked.clear();
    keeper->refresh();
    EXPECT_EQ(keeper->lastKnownFrame(kLocked), std::nullopt);
}

} // namespace
} // namespace velmora::testing
