#pragma once

#include "harness/Image.hpp"
#include "harness/TestDesktop.hpp"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace velmora::e2e {

/// Velmora's windows on a test desktop as a person meets them: the overlay over a protected
/// application, the lock card's Unlock button and the password prompt.
class VelmoraWindows {
public:
    /// The lock card's accent fill: its icon circle and its Unlock button.
    static constexpr Rgb kBrandFill = Rgb::fromUnit(0.25, 0.25, 0.4);
    /// The first prompt loads its QML, which under the sanitizers on a busy machine takes
    /// seconds.
    static constexpr std::chrono::seconds kFirstPromptTimeout{15};

    /// Windows of `pid`, or named after Velmora, are Velmora's.
    VelmoraWindows(TestDesktop& desktop, std::optional<int> pid) : desktop_(desktop), pid_(pid) {}

    [[nodiscard]] bool isVelmoraWindow(const WindowInfo& window) const;
    /// Velmora's overlay above `window`'s frame, once it covers it.
    [[nodiscard]] std::optional<WindowInfo> waitForOverlayOver(const WindowInfo& window,
                                                               std::chrono::milliseconds timeout);
    /// Whether any pixel of `color` shows in `area`.
    [[nodiscard]] bool shows(const ScreenRect& area, Rgb color);
    /// The Unlock button on `overlay`'s lock card, once the card is drawn.
    [[nodiscard]] std::optional<ScreenRect> waitForUnlockButton(const WindowInfo& overlay);
    /// The same on pictures of the card that `capture` takes.
    [[nodiscard]] static std::optional<ScreenRect>
    waitForUnlockButton(const std::function<Image()>& capture);
    /// Velmora's window other than `overlay` that holds the keyboard focus: the password
    /// prompt, once it has opened.
    [[nodiscard]] std::optional<WindowInfo> waitForFocusedPrompt(const WindowInfo& overlay);
    /// Types `password` and Return into the focused prompt.
    void enterPassword(const std::string& password) const;
    /// Waits until the overlay is gone and `window` shows its own pixels again.
    [[nodiscard]] bool waitUntilUncovered(const WindowInfo& overlay, const WindowInfo& window,
                                          Rgb color);

private:
    TestDesktop& desktop_;
    std::optional<int> pid_;
};

} // namespace velmora::e2e
