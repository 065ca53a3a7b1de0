#include "AppDelegate.hpp"
#include "Platform/Sim/SimDesktop.hpp"
#include "Support/FakeAuthenticator.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

/// Writes each call into the log, so that tests see it in order with the delegate's lines.
class FakeLockEngine final : public LockEngineLifecycle {
public:
    explicit FakeLockEngine(Logging& logger) : logger_(logger) {}
    void setupSystemEventObservers() override { note("setupSystemEventObservers"); }
    void start() override { note("start"); }
    void stop() override { note("stop"); }
    void pause() override { note("pause"); }
    void resume() override { note("resume"); }

private:
    void note(const std::string& call) { logger_.info("[engine] " + call); }
    Logging& logger_;
};

using Lines = std::vector<std::string>;

class AppDelegateTest : public ::testing::Test {
protected:
    void launch(bool accessibilityGranted) {
        desktop.accessibility->setTrusted(accessibilityGranted);
        delegate = AppDelegate::create({
            .installCrashReporter =
                [this] {
                    ++crashReporterInstalls;
                    EXPECT_TRUE(logger->entries.empty());
                    EXPECT_EQ(permissionRequests, 0);
                },
            .permissionsManager =
                [this] {
                    ++permissionRequests;
                    return PermissionsManager::create(
                        PermissionsManager::collaborators(desktop.platform(logger)));
                },
            .lockEngine =
                [this] {
                    ++engineRequests;
                    return std::make_shared<FakeLockEngine>(*logger);
                },
            .authenticator = authenticator,
            .application = application,
            .workspace = desktop.workspace,
            .notificationCenter = desktop.notificationCenter,
            .runLoop = desktop.loop,
            .logger = logger,
        });
        application->setDelegate(delegate);
        // What the permissions manager prints is no part of these tests.
        ::testing::internal::CaptureStdout();
        application->finishLaunching();
        ::testing::internal::GetCapturedStdout();
    }

    SimDesktop desktop;
    std::shared_ptr<testing::RecordingLogger> logger = std::make_shared<testing::RecordingLogger>();
    const std::shared_ptr<SimHostApplication>& application = desktop.hostApplication;
    std::shared_ptr<testing::FakeAuthenticator> authenticator =
        std::make_shared<testing::FakeAuthenticator>(desktop.loop);
    std::shared_ptr<AppDelegate> delegate;
    int crashReporterInstalls = 0;
    int permissionRequests = 0;
    int engineRequests = 0;
};

// Starting the engine with Accessibility: startup-with-accessibility.scenario.
TEST_F(AppDelegateTest, LaunchWithoutAccessibilityBringsTheSettingsWindowForward) {
    const int settings = application->openWindow(AppWindowKind::standard);
    launch(false);

    desktop.loop->advance(Seconds{0.49});
    EXPECT_TRUE(desktop.notificationCenter->posted().empty());

    desktop.loop->advance(Seconds{0.01});
    EXPECT_EQ(desktop.notificationCenter->posted(), Lines{"openSettingsRequested"});
    EXPECT_EQ(application->activateIgnoringOtherAppsCount(), 1u);
    EXPECT_EQ(application->orderedFront(), std::vector<int>{settings});
    EXPECT_EQ(application->keyWindowId(), settings);

    desktop.loop->advance(Seconds{0.1});
    EXPECT_EQ(application->activateIgnoringOtherAppsCount(), 2u);
    EXPECT_EQ(application->window(settings)->level, kFloatingWindowLevel);
    EXPECT_EQ(application->orderedFront(), (std::vector<int>{settings, settings}));

    desktop.loop->advance(Seconds{0.1});
    EXPECT_EQ(application->window(settings)->level, kNormalWindowLevel);
    EXPECT_EQ(engineRequests, 0);
    EXPECT_EQ(crashReporterInstalls, 1);
    EXPECT_EQ(application->activationPolicy(), ActivationPolicy::accessory);
}

TEST_F(AppDelegateTest, RaisingLeavesHiddenWindowsAlone) {
    launch(true);
    const int shown = application->openWindow(AppWindowKind::standard, true);
    const int hidden = application->openWindow(AppWindowKind::standard, false);

    delegate->raiseVisibleWindows();
    EXPECT_EQ(application->window(shown)->level, kFloatingWindowLevel);
    EXPECT_EQ(application->window(hidden)->level, kNormalWindowLevel);
    EXPECT_EQ(application->orderedFront(), std::vector<int>{shown});

    delegate.reset();
    desktop.loop->advance(Seconds{0.1});
    EXPECT_EQ(application->window(shown)->level, kNormalWindowLevel);
}

} // namespace
} // namespace velmora
