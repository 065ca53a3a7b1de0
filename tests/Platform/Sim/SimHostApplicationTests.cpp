#include "Platform/Sim/SimHostApplication.hpp"
#include "Platform/Sim/SimWorkspace.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

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
    app.activateIgnoringOtherApps();
    loop.runUntilIdle();
    EXPECT_EQ(workspace->frontmostApplication()->processIdentifier, self);
    EXPECT_EQ(told, 1);

    workspace->activate(notes);
    loop.runUntilIdle();
    EXPECT_FALSE(app.isActive());

    app.terminate();
    EXPECT_FALSE(workspace->runningApplication(self).has_value());
}

} // namespace
} // namespace velmora
