#include "LockEngineFixture.hpp"

#include <limits>

namespace velmora::testing {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(LockEngineTest, NoWindowAfterTenAttemptsCoversTheMainScreen) {
    const ProcessId mail = protect(kMail, "Mail", std::nullopt);
    desktop.windowServer->addWindow(mail, 0, 0, 300, 200, -20); // below the normal layer
    desktop.windowServer->addWindow(mail, 0, 0, 0, 200);        // no area
    desktop.windowServer->addWindow(mail, std::numeric_limits<double>::infinity(), 0, 300, 200);
    CaptureStdout();
    desktop.activate(mail);
    desktop.loop->advance(Seconds{2.3});
    const std::string out = GetCapturedStdout();
    ASSERT_NE(overlay("Mail"), nullptr);
    EXPECT_EQ(overlay("Mail")->frame(), (Rect{0, 0, 1512, 982}));
    EXPECT_TRUE(
        contains(out, "[Brevane] ERROR: Could not get window frame after 10 attempts for PID " +
                          std::to_string(mail) + "\n"));
}

TEST_F(LockEngineTest, CoversTheFirstScreenInPlatformOrderThatTheWindowTouches) {
    desktop.screens->setScreens(
        {{"External", {1512, 0, 1920, 1080}}, {"Built-in", {0, 0, 1512, 982}}});
    desktop.screens->setMainScreenIndex(1);
    const ProcessId mail = protect(kMail, "Mail", Rect{1400, 82, 400, 300});
    CaptureStdout();
    desktop.activate(mail);
    const std::string out = GetCapturedStdout();
    ASSERT_NE(overlay("Mail"), nullptr);
    EXPECT_EQ(overlay("Mail")->frame(), (Rect{1400, 600, 400, 300}));
    EXPECT_TRUE(contains(out, "[Brevane] Found window: CG(1400.0, 82.0, 400.0, 300.0) -> "
                              "NS(1400.0, 600.0, 400.0, 300.0)\n"
                              "[Brevane] Primary screen height: 982.0\n"));
    EXPECT_TRUE(contains(out, "[Brevane] Target screen: External\n"));
}

TEST_F(LockEngineTest, UnlockingWhileRetriesArePendingStopsTheChain) {
    const ProcessId mail = protect(kMail, "Mail", std::nullopt);
    desktop.activate(mail);
    desktop.loop->advance(Seconds{0.6});
    engine->handleUnlockTapped({kMail, mail, "Mail"});
    desktop.loop->runUntilIdle();
    answer(SimAuthenticator::Outcome::succeed());
    CaptureStdout();
    desktop.loop->advance(Seconds{3});
    const std::string out = GetCapturedStdout();
    EXPECT_TRUE(contains(out, "[Brevane] Aborting overlay retry - state is no longer locked "
                              "(attempt 2)\n"));
    EXPECT_FALSE(contains(out, "attempt 3"));
    EXPECT_EQ(desktop.overlayWindows->visibleWindowCount(), 0u);
}

TEST_F(LockEngineTest, AnAppShowingOnlyFloatingPanelsIsCoveredWhereThePanelIs) {
    desktop.screens->setScreens(
        {{"Built-in", {0, 0, 1512, 982}}, {"External", {1512, 0, 1920, 1080}}});
    const ProcessId mail = protect(kMail, "Mail", std::nullopt);
    desktop.windowServer->addWindow(mail, 1600, 100, 400, 300, 3);
    desktop.activate(mail);
    ASSERT_NE(overlay("Mail"), nullptr);
    EXPECT_EQ(overlay("Mail")->frame(), (Rect{1600, 582, 400, 300}));
}

TEST_F(LockEngineTest, AWindowAppearingAfterTheScreenWasCoveredIsCoveredWhereItIs) {
    desktop.screens->setScreens(
        {{"Built-in", {0, 0, 1512, 982}}, {"External", {1512, 0, 1920, 1080}}});
    const ProcessId mail = protect(kMail, "Mail", std::nullopt);
    desktop.activate(mail);
    desktop.loop->advance(Seconds{2.4});
    ASSERT_NE(overlay("Mail"), nullptr);
    ASSERT_EQ(overlay("Mail")->frame(), (Rect{0, 0, 1512, 982}));

    desktop.windowServer->addWindow(mail, 1600, 100, 400, 300);
    desktop.loop->advance(Seconds{0.5});
    ASSERT_NE(overlay("Mail"), nullptr);
    EXPECT_EQ(overlay("Mail")->frame(), (Rect{1600, 582, 400, 300}));
}

} // namespace
} // namespace velmora::testing
