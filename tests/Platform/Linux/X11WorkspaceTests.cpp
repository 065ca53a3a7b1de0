#include "FakeApplicationDirectory.hpp"
#include "ManualSessionEvents.hpp"
#include "Platform/Linux/X11WindowManagerCalls.hpp"
#include "Platform/Linux/X11Workspace.hpp"
#include "X11TestDesktop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora::testing {
namespace {

class X11WorkspaceTest : public ::testing::Test {
protected:
    explicit X11WorkspaceTest(XvfbServer::Options options = {.windowManager = true})
        : desktop(std::move(options)) {
        directory->add("org.example.Editor",
                       {"org.example.Editor", "/usr/share/applications/org.example.Editor.desktop",
                        "Editor Pro", std::nullopt});
        workspace = std::make_shared<X11Workspace>(X11Workspace::Dependencies{
            desktop.connection, desktop.clients, desktop.runLoop, directory, sessionEvents,
            desktop.logger, "com.tovren.velmora"});
        activations = workspace->observeDidActivateApplication(
            [this](const auto& app) { activated.push_back(app); });
        terminations = workspace->observeDidTerminateApplication(
            [this](const auto& app) { terminated.push_back(app); });
    }

    std::optional<RunningApplication> waitForApplication(ProcessId pid) {
        waitUntil([&] { return workspace->runningApplication(pid).has_value(); });
        return workspace->runningApplication(pid);
    }

    X11TestDesktop desktop;
    std::shared_ptr<FakeApplicationDirectory> directory =
        std::make_shared<FakeApplicationDirectory>();
    std::shared_ptr<ManualSessionEvents> sessionEvents = std::make_shared<ManualSessionEvents>();
    std::shared_ptr<X11Workspace> workspace;
    std::vector<std::optional<RunningApplication>> activated;
    std::vector<std::optional<RunningApplication>> terminated;
    Subscription activations;
    Subscription terminations;
};

TEST_F(X11WorkspaceTest, NamesEachApplicationFromItsDesktopEntryOrItsWindow) {
    TestApplication editor(desktop.server,
                           {"--wm-class", "editor,Editor", "--app-id", "org.example.Editor"});
    TestApplication viewer(desktop.server, {"--wm-class", "viewer,Viewer"});
    TestApplication dock(desktop.server, {"--wm-class", "panel,Panel", "--type", "DOCK"});
    desktop.createOwnWindow();

    struct Expected {
        ProcessId pid;
        RunningApplication app;
    };
    const Expected cases[] = {
        {editor.pid(),
         {"org.example.Editor", editor.pid(), "Editor Pro",
          "/usr/share/applications/org.example.Editor.desktop", ActivationPolicy::regular}},
        {viewer.pid(), {std::nullopt, viewer.pid(), "Viewer", std::nullopt}},
        {dock.pid(),
         {std::nullopt, dock.pid(), "Panel", std::nullopt, ActivationPolicy::accessory}},
        {getpid(), {"com.tovren.velmora", getpid(), "Velmora", std::nullopt}},
    };
    for (const auto& expected : cases) {
        EXPECT_EQ(waitForApplication(expected.pid), expected.app) << "pid " << expected.pid;
    }
    EXPECT_EQ(workspace->runningApplications().size(), std::size(cases));
}

TEST_F(X11WorkspaceTest, FollowsTheActiveWindow) {
    TestApplication editor(desktop.server,
                           {"--wm-class", "editor,Editor", "--app-id", "org.example.Editor"});
    auto viewer = std::make_optional<TestApplication>(
        desktop.server, std::vector<std::string>{"--wm-class", "viewer,Viewer"});
    ASSERT_TRUE(waitForApplication(editor.pid()));
    ASSERT_TRUE(waitForApplication(viewer->pid()));
    // New windows take the focus; what that announced is not the point here.
    ASSERT_TRUE(waitUntil([&] {
        return !activated.empty() && activated.back()->processIdentifier == viewer->pid();
    }));
    activated.clear();

    ASSERT_TRUE(workspace->activate(editor.pid()));
    EXPECT_TRUE(activated.empty()) << "announced inside the call";
    ASSERT_TRUE(waitUntil([&] { return activated.size() == 1; }));
    EXPECT_EQ(activated.front()->bundleIdentifier, "org.example.Editor");
    EXPECT_EQ(desktop.activeWindow(), editor.window());
    EXPECT_EQ(workspace->frontmostApplication()->processIdentifier, editor.pid());

    // Minimized by the window manager with no other window to take the focus: back, it is
    // news again.
    viewer.reset();
    requestIconic(desktop.observer->get(), desktop.connection->root(), editor.window(),
                  desktop.observer->atom("WM_CHANGE_STATE"));
    desktop.sync();
    ASSERT_TRUE(waitUntil([&] { return activated.size() == 2; }));
    EXPECT_FALSE(activated.back());
    ASSERT_TRUE(workspace->activate(editor.pid()));
    ASSERT_TRUE(waitUntil([&] { return activated.size() == 3; }));
    EXPECT_EQ(activated.back()->processIdentifier, editor.pid());
}

TEST_F(X11WorkspaceTest, AnnouncesAnEndedProcessOnceWithItsLastKnownDescription) {
    auto editor = std::make_unique<TestApplication>(
        desktop.server,
        std::vector<std::string>{"--wm-class", "editor,Editor", "--app-id", "org.example.Editor"});
    const ProcessId pid = editor->pid();
    ASSERT_TRUE(waitForApplication(pid));

    // The next client gets the ended one's window id and is managed before Velmora hears of
    // the end (these waits do not run its event loop): it is a new application all the same,
    // and the ended one is announced once.
    const uint32_t window = editor->window();
    const auto spinUntil = [](const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds{5};
        while (!condition() && std::chrono::steady_clock::now() < deadline) {
        }
        return condition();
    };
    editor->kill();
    // Gone from the server only once its connection is: then its id is free for the next.
    ASSERT_TRUE(spinUntil([&] { return !desktop.wmState(window); }));
    TestApplication viewer(desktop.server, {"--wm-class", "viewer,Viewer"});
    ASSERT_EQ(viewer.window(), window);
    // Managed, and so listed, by the window manager, which then gives it the focus.
    ASSERT_TRUE(spinUntil([&] { return desktop.activeWindow() == window; }));
    ASSERT_TRUE(waitForApplication(viewer.pid()));
    ASSERT_TRUE(waitUntil([&] { return !terminated.empty(); }));
    ASSERT_TRUE(terminated.front());
    EXPECT_EQ(terminated.front()->bundleIdentifier, "org.example.Editor");
    EXPECT_EQ(terminated.front()->processIdentifier, pid);
    EXPECT_TRUE(terminated.front()->isTerminated);
    EXPECT_FALSE(workspace->runningApplication(pid));
    EXPECT_EQ(terminated.size(), 1u);
}

// Xvfb has no DPMS, so only the session's will-sleep is seen here.
TEST_F(X11WorkspaceTest, PassesOnTheSessionsWillSleep) {
    int willSleep = 0;
    const auto subscription = workspace->observeWillSleep([&] { ++willSleep; });
    sessionEvents->willSleep.emit();
    EXPECT_EQ(willSleep, 1);
}

class X11WorkspaceWithoutResourceExtensionTest : public X11WorkspaceTest {
protected:
    X11WorkspaceWithoutResourceExtensionTest()
        : X11WorkspaceTest(
              {.windowManager = true, .serverArguments = {"-extension", "X-Resource"}}) {}
};

TEST_F(X11WorkspaceWithoutResourceExtensionTest, FallsBackToTheWindowsPidAndSkipsWindowsWithout) {
    TestApplication anonymous(desktop.server, {"--wm-class", "ghost,Ghost", "--no-pid"});
    TestApplication editor(desktop.server, {"--wm-class", "editor,Editor"});
    ASSERT_TRUE(waitForApplication(editor.pid()));
    TestApplication viewer(desktop.server, {"--wm-class", "viewer,Viewer"});
    ASSERT_TRUE(waitForApplication(viewer.pid()));

    EXPECT_EQ(workspace->runningApplications().size(), 2u);
}

} // namespace
} // namespace velmora::testing
