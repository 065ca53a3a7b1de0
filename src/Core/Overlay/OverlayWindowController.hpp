#pragma once

#include "Platform/OverlayWindows.hpp"
#include "Platform/OwnerAuthentication.hpp"
#include "Platform/Screens.hpp"
#include "Services/FailedAttempts.hpp"
#include "Support/Logging.hpp"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// Puts one borderless overlay with the lock card over a locked application's window.
///
///     controller.show("com.apple.Notes", windowFrame, screen, "Notes", unlock, minimize);
///     controller.hide("com.apple.Notes");
///
/// Windows are keyed by bundle identifier: the first `show` of a bundle makes its window and
/// every later `show` moves it and rebuilds its content. Windows are never closed, only
/// ordered out, and stay for reuse. Main thread only.
class OverlayWindowController {
public:
    using Action = std::function<void()>;

    /// `biometryContexts` names the sensor on the cards' Unlock buttons; the cards show the
    /// wait that `failedAttempts` imposes, if given. A null `logger` discards the lines.
    OverlayWindowController(std::shared_ptr<Logging> logger,
                            std::shared_ptr<OverlayWindowFactory> windowFactory,
                            OwnerAuthenticationContextFactory biometryContexts,
                            std::shared_ptr<FailedAttempts> failedAttempts = nullptr);

    /// The process-wide controller, over the installed platform.
    static std::shared_ptr<OverlayWindowController> shared();

    /// Covers `frame` (the whole of `screen` when `frame` has no area) and brings the overlay
    /// to the front without activating this application. An empty `onCancelTapped` shows no
    /// Minimize button.
    void show(const std::string& bundleId, Rect frame, const Screen& screen,
              const std::string& appName, Action onUnlockTapped, Action onCancelTapped = {});
    /// Orders the bundle's overlay out and forgets its callbacks and name.
    void hide(const std::string& bundleId);
    /// `hide` for every bundle that ever had an overlay.
    void hideAll();

    /// Whether the bundle's overlay is on screen.
    [[nodiscard]] bool isOverlayVisible(const std::string& bundleId) const;
    /// The name on the bundle's card while it is shown.
    [[nodiscard]] std::optional<std::string> shownAppName(const std::string& bundleId) const;
    /// Windows ever made, hidden ones included.
    [[nodiscard]] std::size_t windowCount() const { return overlayWindows.size(); }
    /// The bundle's window, on screen or not; null when it never had one.
    [[nodiscard]] std::shared_ptr<OverlayWindow> window(const std::string& bundleId) const;
    /// The bundles whose overlay is on screen, in identifier order.
    [[nodiscard]] std::vector<std::string> visibleBundleIds() const;

private:
    [[nodiscard]] std::size_t visibleWindowCount() const;

    std::shared_ptr<Logging> logger_;
    std::shared_ptr<OverlayWindowFactory> windowFactory_;
    OwnerAuthenticationContextFactory biometryContexts_;
    std::shared_ptr<FailedAttempts> failedAttempts_;

    std::map<std::string, std::shared_ptr<OverlayWindow>> overlayWindows;
    std::map<std::string, Action> unlockHandlers;
    /// An empty action where the latest `show` gave none.
    std::map<std::string, Action> cancelHandlers;
    std::map<std::string, std::string> appNames;
};

} // namespace velmora
