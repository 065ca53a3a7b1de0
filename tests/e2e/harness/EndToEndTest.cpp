#include "harness/EndToEndTest.hpp"

#include "harness/Eventually.hpp"

#include <iostream>

namespace velmora::e2e {
namespace {

constexpr const char* kPermissionsJudged = "[Brevane] Accessibility permission changed: ";

} // namespace

ProtectedAppEntry EndToEndTest::testClientEntry(std::int64_t idleTimeoutMinutes) {
    return {.bundleIdentifier = "org.velmora.TestClient",
            .displayName = "Test Client",
            .autoLockEnabled = true,
            .idleTimeoutMinutes = idleTimeoutMinutes};
}

void EndToEndTest::SetUp() {
    if (!std::filesystem::exists(VELMORA_PROGRAM)) {
        GTEST_SKIP() << "velmora is not built (expected at " << VELMORA_PROGRAM << ")";
    }
    if (!PamService::available()) {
        GTEST_SKIP() << "pam_wrapper is not installed";
    }
}

void EndToEndTest::TearDown() {
    // Taken while Velmora still runs: once it stops, what it covered shows plainly.
    if (HasFailure() && desktop_) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const auto screenshot = std::filesystem::path(VELMORA_E2E_ARTIFACTS) /
                                (std::string(test->test_suite_name()) + "." + test->name());
        desktop_->display().saveScreenshot(screenshot);
        std::cout << "Screen at the end: " << screenshot.string() << ".png\n";
    }
    if (velmora_) {
        velmora_->stop();
        // Whatever the test did, Velmora ends cleanly when asked.
        EXPECT_EQ(velmora_->log().find("FATAL SIGNAL"), std::string::npos)
            << "Velmora crashed on its way out";
        if (HasFailure()) {
            std::cout << velmora_->report();
        }
    }
}

void EndToEndTest::startDesktop(TestDesktop::Options options) {
    options.applications.push_back({.id = "org.velmora.TestClient",
                                    .name = "Test Client",
                                    .exec = TestClientProcess::program().string(),
                                    .startupWmClass = TestClientProcess::Options{}.wmClass});
    desktop_ = std::make_unique<TestDesktop>(options);
}

void EndToEndTest::startVelmora() {
    velmora_ = desktop_->startVelmora(VELMORA_PROGRAM);
    if (!velmora_->waitForOutput(kPermissionsJudged)) {
        ADD_FAILURE() << "velmora did not report its permissions";
    }
    if (!desktop_->hasTrayHost() && !desktop_->waitForManagedWindowOf(velmora_->pid())) {
        ADD_FAILURE() << "velmora did not open its panel window on a desktop without a tray";
    }
}

std::optional<WindowInfo> EndToEndTest::launchClient(const std::string& name,
                                                     TestClientProcess::Options options) {
    clients_.push_back(desktop_->launchClient(name, options));
    const TestClientProcess& process = *clients_.back();
    if (!process.waitUntilReady()) {
        ADD_FAILURE() << "test client " << name << " did not map its windows";
        return std::nullopt;
    }
    const std::string firstTitle = options.windows == 1 ? name : name + " 1";
    auto window = desktop_->display().find([&](const WindowInfo& info) {
        return info.pid == process.pid() && info.title == firstTitle;
    });
    if (!window) {
        ADD_FAILURE() << "no window of test client " << name << " on the screen";
    }
    return window;
}

std::optional<EndToEndTest::CoveredWindow>
EndToEndTest::launchCoveredClient(const std::string& name, TestClientProcess::Options options) {
    const auto launched = launchClient(name, options);
    if (!launched) {
        return std::nullopt;
    }
    const WindowInfo window = activate(*launched);
    const auto overlay = waitForOverlayOver(window);
    if (!overlay) {
        ADD_FAILURE() << "test client " << name << " was not covered";
        return std::nullopt;
    }
    return CoveredWindow{window, *overlay};
}

std::optional<WindowInfo> EndToEndTest::launchTerminal(const std::string& background,
                                                       const std::string& geometry) {
    terminals_.push_back(desktop_->launch(
        {"xterm", "-bg", background, "-geometry", geometry, "-title", "elsewhere"}));
    const auto window = desktop_->display().waitFor(
        [](const WindowInfo& info) { return info.viewable && info.title == "elsewhere"; });
    if (!window) {
        ADD_FAILURE() << "xterm did not show its window";
    }
    return window;
}

WindowInfo EndToEndTest::activate(const WindowInfo& window) {
    if (!desktop_->xdo().activate(window.window)) {
        ADD_FAILURE() << "the window manager did not activate window " << window.window;
    }
    return desktop_->display().window(window.window).value_or(window);
}

VelmoraWindows EndToEndTest::velmoraWindows() const {
    return {*desktop_, velmora_ ? std::optional<int>(velmora_->pid()) : std::nullopt};
}

bool EndToEndTest::isVelmoraWindow(const WindowInfo& window) const {
    return velmoraWindows().isVelmoraWindow(window);
}

std::optional<WindowInfo> EndToEndTest::waitForOverlayOver(const WindowInfo& window,
                                                           std::chrono::milliseconds timeout) {
    return velmoraWindows().waitForOverlayOver(window, timeout);
}

bool EndToEndTest::shows(const ScreenRect& area, Rgb color) {
    return velmoraWindows().shows(area, color);
}

bool EndToEndTest::isHidden(const WindowInfo& window) const {
    const auto now = desktop_->display().window(window.window);
    return !now || !now->viewable;
}

std::optional<WindowInfo> EndToEndTest::openPasswordPrompt(const WindowInfo& overlay) {
    auto windows = velmoraWindows();
    const auto button = windows.waitForUnlockButton(overlay);
    if (!button) {
        ADD_FAILURE() << "no Unlock button on the lock card over " << overlay.frame;
        return std::nullopt;
    }
    desktop_->xdo().click(button->centerX(), button->centerY());
    auto prompt = windows.waitForFocusedPrompt(overlay);
    if (!prompt) {
        ADD_FAILURE() << "no password prompt with the keyboard focus after Unlock at " << *button;
    }
    return prompt;
}

OtherClient& EndToEndTest::otherClient() {
    if (!otherClient_) {
        otherClient_ = std::make_unique<OtherClient>(desktop_->displayName());
    }
    return *otherClient_;
}

bool EndToEndTest::waitUntilKeyboardHeld() {
    return eventually([&] { return otherClient().keyboardHeldElsewhere(); });
}

void EndToEndTest::expectClientUnseenAndUntouched() {
    EXPECT_FALSE(shows(desktop_->display().rootRect(), kClientColor))
        << "the client shows on the screen";
    const auto lines = client().logLines();
    EXPECT_TRUE(lines.empty()) << lines.size()
                               << " input events reached the client, the first: " << lines.front();
}

bool EndToEndTest::unlock(const WindowInfo& overlay, const WindowInfo& window, Rgb color) {
    if (!openPasswordPrompt(overlay)) {
        return false;
    }
    auto windows = velmoraWindows();
    windows.enterPassword(TestDesktop::kPassword);
    return windows.waitUntilUncovered(overlay, window, color);
}

void RunningVelmoraTest::SetUp() {
    EndToEndTest::SetUp();
    if (IsSkipped()) {
        return;
    }
    startDesktop(desktopOptions());
    startVelmora();
}

} // namespace velmora::e2e
