#include "Platform/Sim/SimHostApplication.hpp"
#include "Platform/Sim/SimWorkspace.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class ScriptedDelegate final : public ApplicationDelegate {
public:
    explicit ScriptedDelegate(TerminateReply reply) : reply(reply) {}
    void applicationDidFinishLaunching() override { events.push_back("launched"); }
    TerminateReply applicationShouldTerminate() override {
        events.push_back("should terminate");
        return reply;
    }
    void applicationWillTerminate() override { events.push_back("will terminate"); }

    TerminateReply reply;
    std::vector<std::string> events;
};

TEST(SimHostApplication, TerminationFollowsTheDelegatesAnswer) {
    struct Case {
        TerminateReply reply;
        std::optional<bool> deferredReply;
        bool terminated;
        std::vector<std::string> events;
    };
    const std::vector<Case> cases{
        {TerminateReply::now, std::nullopt, true, {"should terminate", "will terminate"}},
        {TerminateReply::cancel, std::nullopt, false, {"should terminate", "should terminate"}},
        {TerminateReply::later, std::nullopt, false, {"should terminate"}},
        {TerminateReply::later, true, true, {"should terminate", "will terminate"}},
        {TerminateReply::later, false, false, {"should terminate"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        ManualRunLoop loop;
        SimHostApplication app(loop);
        auto delegate = std::make_shared<ScriptedDelegate>(cases[i].reply);
        app.setDelegate(delegate);
        app.terminate();
        // A request made while one waits for its reply, or after the end, is dropped.
        app.terminate();
        if (cases[i].deferredReply) {
            app.replyToApplicationShouldTerminate(*cases[i].deferredReply);
        }
        EXPECT_EQ(app.isTerminated(), cases[i].terminated);
        EXPECT_EQ(delegate->events, cases[i].events);
        EXPECT_EQ(app.terminationRequestCount(), 2u);
    }
}

TEST(SimHostApplication, BecomingActiveIsToldOnTheNextTurnOnlyOnTheChange) {
    ManualRunLoop loop;
    SimHostApplication app(loop);
    int told = 0;
    const Subscription s = app.observeDidBecomeActive([&] { ++told; });

    app.activateIgnoringOtherApps();
    app.activateIgnoringOtherApps();
    EXPECT_EQ(told, 0);
    loop.runUntilIdle();
    EXPECT_EQ(told, 1);

    app.setActive(false);
    app.setActive(true);
    loop.runUntilIdle();
    EXPECT_EQ(told, 2);
}

TEST(SimHostApplication, JoinedToAWorkspaceItIsActiveWhileItsProcessIsInFront) {
    ManualRunLoop loop;
    auto workspace = std::make_shared<SimWorkspace>(loop);
    const ProcessId self = workspace->launch({.bundleIdentifier = "com.tovren.velmora"});
    const ProcessId notes = workspace->launch({.bundleIdentifier = "com.example.notes"});
    SimHostApplication app(loop);
    app.joinWorkspace(workspace, self);
    int told = 0;
    const Subscription s = app.observeDidBecomeActive([&] { ++told; });

    app.activateIgnoringOtherApps();
    loop.runUntilIdle();
    EXPECT_EQ(workspace->frontmostApplication()->processIdentifier, self);
    EXPECT_TRUE(app.isActive());
    EXPECT_EQ(told, 1);

    workspace->activate(notes);
    loop.runUntilIdle();
    EXPECT_FALSE(app.isActive());

    app.terminate();
    EXPECT_FALSE(workspace->runningApplication(self).has_value());
}

TEST(SimHostApplication, WindowsComeForwardAndKeepTheirLevels) {
    ManualRunLoop loop;
    SimHostApplication app(loop);
    const int panel = app.openWindow(AppWindowKind::standard, false);
    app.makeKeyAndOrderFront(panel);
    app.setWindowLevel(panel, kFloatingWindowLevel);
    app.makeKeyAndOrderFront(99);
    app.setWindowLevel(99, kFloatingWindowLevel);

    EXPECT_TRUE(app.window(panel)->visible);
    EXPECT_EQ(app.window(panel)->level, kFloatingWindowLevel);
    EXPECT_EQ(app.keyWindowId(), panel);
    EXPECT_EQ(app.orderedFront(), (std::vector<int>{panel, 99}));
    app.closeWindow(panel);
    EXPECT_EQ(app.keyWindowId(), std::nullopt);
}

} // namespace
} // namespace velmora
