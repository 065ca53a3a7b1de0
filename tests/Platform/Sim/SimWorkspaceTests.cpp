#include "Platform/Sim/SimWorkspace.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>
#include <limits>

namespace velmora {
namespace {

class SimWorkspaceTest : public ::testing::Test {
protected:
    SimWorkspaceTest() {
        subscription_ = desktop.observeDidActivateApplication(
            [this](const std::optional<RunningApplication>& app) {
                heard.push_back(app ? app->processIdentifier : -1);
            });
    }

    ManualRunLoop loop;
    SimWorkspace desktop{loop};
    std::vector<ProcessId> heard;

private:
    Subscription subscription_;
};

TEST_F(SimWorkspaceTest, ActivationIsHeardOnTheNextTurnOnlyOnRealChangeAndNeverForAgents) {
    const ProcessId notes = desktop.launch({.bundleIdentifier = "com.example.notes"});
    const ProcessId agent = desktop.launch({.bundleIdentifier = "com.example.agent",
                                            .activationPolicy = ActivationPolicy::prohibited});
    EXPECT_FALSE(desktop.activate(agent));
    EXPECT_FALSE(desktop.activate(4242));

    EXPECT_TRUE(desktop.activate(notes));
    EXPECT_TRUE(heard.empty());
    loop.runUntilIdle();
    EXPECT_TRUE(desktop.activate(notes));
    loop.runUntilIdle();

    EXPECT_EQ(heard, std::vector<ProcessId>{notes});
    EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, notes);
    EXPECT_EQ(desktop.activationRequests(), (std::vector<ProcessId>{agent, 4242, notes, notes}));
}

TEST_F(SimWorkspaceTest,
       HidingOrQuittingTheFrontmostBringsThePreviousVisibleOneForwardAndQuitIsAnnounced) {
    const ProcessId mail = desktop.launch({.bundleIdentifier = "com.example.mail"});
    const ProcessId notes = desktop.launch({.bundleIdentifier = "com.example.notes"});
    const ProcessId chat = desktop.launch({.bundleIdentifier = "com.example.chat"});
    desktop.activate(mail);
    desktop.activate(notes);
    desktop.activate(chat);
    loop.runUntilIdle();
    heard.clear();

    EXPECT_TRUE(desktop.hide(chat));
    EXPECT_TRUE(desktop.isHidden(chat));
    EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, notes);
    std::vector<std::optional<RunningApplication>> ended;
    Subscription s = desktop.observeDidTerminateApplication(
        [&](const std::optional<RunningApplication>& app) { ended.push_back(app); });
    EXPECT_TRUE(desktop.quit(notes));
    EXPECT_TRUE(ended.empty()) << "announced after the current work";
    loop.runUntilIdle();

    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0]->processIdentifier, notes);
    EXPECT_TRUE(ended[0]->isTerminated);
    EXPECT_EQ(heard, (std::vector<ProcessId>{notes, mail}));
    EXPECT_EQ(desktop.runningApplications().size(), 2u);
    EXPECT_TRUE(desktop.application(notes)->isTerminated);
    EXPECT_FALSE(desktop.quit(notes));
    EXPECT_FALSE(desktop.hide(notes));
    EXPECT_EQ(desktop.hideRequests(), (std::vector<ProcessId>{chat, notes}));
}

TEST_F(SimWorkspaceTest, TheLargestProcessIdDoesNotOverflowTheNextFreshOne) {
    constexpr ProcessId kLargest = std::numeric_limits<ProcessId>::max();
    EXPECT_EQ(desktop.launch({.processIdentifier = kLargest}), kLargest);
    const ProcessId fresh = desktop.launch({});
    EXPECT_GT(fresh, 0);
    EXPECT_NE(fresh, kLargest);
    EXPECT_NE(desktop.application(kLargest)->startTime, desktop.application(fresh)->startTime);
}

} // namespace
} // namespace velmora
