#include "harness/EndToEndTest.hpp"

#include "Core/Overlay/OverlayContentView.hpp"
#include "harness/Eventually.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>

namespace velmora::e2e {
namespace {

constexpr const char* kPermissionsJudged = "[Brevane] Accessibility permission changed: ";
// Wider than the lock card's icon circle, narrower than its Unlock button.
constexpr int kUnlockButtonMinimumWidth = 150;
constexpr int kFillTolerance = 3;

bool equalsIgnoringCase(const std::string& text, const std::string& expected) {
    return std::equal(text.begin(), text.end(), expected.begin(), expected.end(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

} // namespace

std::filesystem::path EndToEndTest::program() {
    // An installed build can be tested in place of the one beside the tests.
    const char* chosen = std::getenv("VELMORA_E2E_PROGRAM");
    return chosen && *chosen ? chosen : VELMORA_PROGRAM;
}

ProtectedAppEntry EndToEndTest::testClientEntry(std::int64_t idleTimeoutMinutes) {
    return {.bundleIdentifier = "org.velmora.TestClient",
            .displayName = "Test Client",
            .autoLockEnabled = true,
            .idleTimeoutMinutes = idleTimeoutMinutes};
}

void EndToEndTest::SetUp() {
    if (!std::filesystem::exists(program())) {
        GTEST_SKIP() << "velmora is not built (expected at " << program().string() << ")";
    }
    if (!PamService::available()) {
        GTEST_SKIP() << "pam_wrapper is not installed";
    }
}

void EndToEndTest::TearDown() {
    if (!HasFailure() || !desktop_) {
        return;
    }
    const auto screenshot = artifactPath("");
    desktop_->saveScreenshot(screenshot);
    std::cout << "Screen at the end: " << screenshot.string() << ".png\n";
    if (velmora_) {
        velmora_->stop();
        std::cout << velmora_->report();
    }
}

void EndToEndTest::saveScreenshot(const std::string& name) {
    desktop_->saveScreenshot(artifactPath("-" + name));
}

std::filesystem::path EndToEndTest::artifactPath(const std::string& suffix) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::filesystem::path(VELMORA_E2E_ARTIFACTS) /
           (std::string(test->test_suite_name()) + "." + test->name() + suffix);
}

void EndToEndTest::startDesktop(TestDesktop::Options options) {
    options.applications.push_back({.id = "org.velmora.TestClient",
                                    .name = "Test Client",
                                    .exec = TestClientProcess::program().string(),
                                    .startupWmClass = TestClientProcess::Options{}.wmClass});
    desktop_ = std::make_unique<TestDesktop>(options);
}

void EndToEndTest::startVelmora() {
    velmora_ = desktop_->startVelmora(program());
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

WindowInfo EndToEndTest::activate(const WindowInfo& window) {
    if (!desktop_->xdo().activate(window.window)) {
        ADD_FAILURE() << "the window manager did not activate window " << window.window;
    }
    return desktop_->display().window(window.window).value_or(window);
}

bool EndToEndTest::isVelmoraWindow(const WindowInfo& window) const {
    return (velmora_ && window.pid == velmora_->pid()) ||
           equalsIgnoringCase(window.instance, "velmora") ||
           equalsIgnoringCase(window.className, "velmora");
}

std::optional<WindowInfo> EndToEndTest::waitForOverlayOver(const WindowInfo& window,
                                                           std::chrono::milliseconds timeout) {
    std::optional<WindowInfo> overlay;
    eventually(
        [&] {
            overlay = desktop_->display().overlayOver(
                window.window, [&](const WindowInfo& info) { return isVelmoraWindow(info); });
            return overlay.has_value();
        },
        timeout);
    return overlay;
}

bool EndToEndTest::shows(const ScreenRect& area, Rgb color) {
    return desktop_->display().capture(area).contains(color);
}

bool EndToEndTest::showsThroughCover(const ScreenRect& area, Rgb color) {
    const int corner = static_cast<int>(OverlayContentView::cornerRadius);
    const ScreenRect middleColumn{area.x + corner, area.y, area.width - 2 * corner, area.height};
    const ScreenRect middleRow{area.x, area.y + corner, area.width, area.height - 2 * corner};
    return shows(middleColumn, color) || shows(middleRow, color);
}

std::optional<WindowInfo> EndToEndTest::openPasswordPrompt(const WindowInfo& overlay) {
    // The card is drawn a moment after its window maps.
    std::optional<ScreenRect> button;
    eventually([&] {
        button = desktop_->display()
                     .capture(overlay.frame)
                     .band(kBrandFill, kUnlockButtonMinimumWidth, kFillTolerance);
        return button.has_value();
    });
    if (!button) {
        ADD_FAILURE() << "no Unlock button on the lock card over " << overlay.frame;
        return std::nullopt;
    }
    desktop_->xdo().click(button->centerX(), button->centerY());
    std::optional<WindowInfo> prompt;
    const bool focused = eventually([&] {
        const xcb_window_t focus = desktop_->display().inputFocus();
        prompt = desktop_->display().find([&](const WindowInfo& info) {
            return info.viewable && isVelmoraWindow(info) && info.window != overlay.window &&
                   desktop_->display().isWithin(focus, info.topLevel);
        });
        return prompt.has_value();
    });
    if (!focused) {
        ADD_FAILURE() << "no password prompt with the keyboard focus after Unlock at " << *button;
    }
    return prompt;
}

void EndToEndTest::enterPassword(const std::string& password) {
    desktop_->xdo().type(password);
    desktop_->xdo().key("Return");
}

bool EndToEndTest::waitUntilUncovered(const WindowInfo& overlay, const WindowInfo& window,
                                      Rgb color) {
    return eventually([&] {
        const auto cover = desktop_->display().window(overlay.window);
        const auto covered = desktop_->display().window(window.window);
        return (!cover || !cover->viewable) && covered && covered->viewable &&
               shows(covered->geometry, color);
    });
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

bool EndToEndTest::unlock(const WindowInfo& overlay, const WindowInfo& window, Rgb color) {
    if (!openPasswordPrompt(overlay)) {
        return false;
    }
    enterPassword(TestDesktop::kPassword);
    return waitUntilUncovered(overlay, window, color);
}

void ProtectedClientTest::SetUp() {
    EndToEndTest::SetUp();
    if (IsSkipped()) {
        return;
    }
    startDesktop({.protectedApps = {testClientEntry()}});
    startVelmora();
}

} // namespace velmora::e2e
