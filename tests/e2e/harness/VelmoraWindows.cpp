#include "harness/VelmoraWindows.hpp"

#include "harness/Eventually.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace velmora::e2e {
namespace {

// Wider than the lock card's icon circle, narrower than its Unlock button.
constexpr int kUnlockButtonMinimumWidth = 150;
constexpr int kFillTolerance = 3;

bool equalsIgnoringCase(const std::string& text, const std::string& expected) {
    return std::equal(text.begin(), text.end(), expected.begin(), expected.end(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

} // namespace

bool VelmoraWindows::isVelmoraWindow(const WindowInfo& window) const {
    return (pid_ && window.pid == pid_) || equalsIgnoringCase(window.instance, "velmora") ||
           equalsIgnoringCase(window.className, "velmora");
}

std::optional<WindowInfo> VelmoraWindows::waitForOverlayOver(const WindowInfo& window,
                                                             std::chrono::milliseconds timeout) {
    std::optional<WindowInfo> overlay;
    eventually(
        [&] {
            overlay = desktop_.display().overlayOver(
                window.window, [&](const WindowInfo& info) { return isVelmoraWindow(info); });
            return overlay.has_value();
        },
        timeout);
    return overlay;
}

bool VelmoraWindows::shows(const ScreenRect& area, Rgb color) {
    return desktop_.display().capture(area).count(color) > 0;
}

std::optional<ScreenRect> VelmoraWindows::waitForUnlockButton(const WindowInfo& overlay) {
    return waitForUnlockButton([&] { return desktop_.display().capture(overlay.frame); });
}

std::optional<ScreenRect>
VelmoraWindows::waitForUnlockButton(const std::function<Image()>& capture) {
    // The card is drawn a moment after its window maps, centred on it: one still drawn for
    // the window's size before a resize (under load, for a while) is not the one to click.
    std::optional<ScreenRect> button;
    eventually([&] {
        const Image picture = capture();
        button = picture.band(kBrandFill, kUnlockButtonMinimumWidth, kFillTolerance);
        return button && std::abs(button->centerX() - picture.area().centerX()) <= 2;
    });
    return button;
}

std::optional<WindowInfo> VelmoraWindows::waitForFocusedPrompt(const WindowInfo& overlay) {
    XDisplay& display = desktop_.display();
    return display.waitFor(
        [&](const WindowInfo& info) {
            return info.viewable && isVelmoraWindow(info) && info.window != overlay.window &&
                   display.isWithin(display.inputFocus(), info.topLevel);
        },
        kFirstPromptTimeout);
}

void VelmoraWindows::enterPassword(const std::string& password) const {
    desktop_.xdo().type(password);
    desktop_.xdo().key("Return");
}

bool VelmoraWindows::waitUntilUncovered(const WindowInfo& overlay, const WindowInfo& window,
                                        Rgb color) {
    return eventually([&] {
        const auto cover = desktop_.display().window(overlay.window);
        const auto covered = desktop_.display().window(window.window);
        return (!cover || !cover->viewable) && covered && covered->viewable &&
               shows(covered->geometry, color);
    });
}

} // namespace velmora::e2e
