#include "Core/Overlay/OverlayWindowController.hpp"

#include "Core/Overlay/OverlayContentView.hpp"
#include "Platform/Platform.hpp"

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

class DiscardingLogger final : public Logging {
public:
    void log(std::string_view, LogLevel, std::string_view, std::string_view, int) override {}
};

} // namespace

OverlayWindowController::OverlayWindowController(
    std::shared_ptr<Logging> logger, std::shared_ptr<OverlayWindowFactory> windowFactory,
    OwnerAuthenticationContextFactory biometryContexts,
    std::shared_ptr<FailedAttempts> failedAttempts)
    : logger_(logger ? std::move(logger) : std::make_shared<DiscardingLogger>()),
      windowFactory_(std::move(windowFactory)), biometryContexts_(std::move(biometryContexts)),
      failedAttempts_(std::move(failedAttempts)) {}

std::shared_ptr<OverlayWindowController> OverlayWindowController::shared() {
    static const std::shared_ptr<OverlayWindowController> instance = [] {
        const Platform& platform = installedPlatform();
        requirePlatformServices(platform.overlayWindows != nullptr, "the overlay controller");
        return std::make_shared<OverlayWindowController>(
            platform.logger, platform.overlayWindows,
            makeContextFactory(platform.ownerAuthentication), FailedAttempts::shared());
    }();
    return instance;
}

void OverlayWindowController::show(const std::string& bundleId, Rect frame, const Screen& screen,
                                   const std::string& appName, Action onUnlockTapped,
                                   Action onCancelTapped) {
    logger_->info("Overlay.show() called for '" + appName + "' [" + bundleId + "]");
    logger_->debug("  input rect: " + describe(frame));
    logger_->debug("  screen: " + screen.localizedName + " frame=" + describe(screen.frame));
    logger_->debug("  active overlays: " + std::to_string(visibleWindowCount()));

    unlockHandlers[bundleId] = onUnlockTapped;
    cancelHandlers[bundleId] = onCancelTapped;
    appNames[bundleId] = appName;

    const Rect overlayFrame = frame.width > 0 && frame.height > 0 ? frame : screen.frame;
    logger_->debug("  overlay frame: " + describe(overlayFrame));

    std::shared_ptr<OverlayWindow>& entry = overlayWindows[bundleId];
    logger_->debug((entry ? "  updating existing window for " : "  creating new window for ") +
                   bundleId);
    if (!entry) {
        entry = windowFactory_->makeWindow();
    }
    const std::shared_ptr<OverlayWindow> window = entry;
    // A fresh content each time, so that the card's hover and press state start over.
    window->show(overlayFrame, std::make_shared<OverlayContentView>(
                                   appName, std::move(onUnlockTapped), std::move(onCancelTapped),
                                   biometryContexts_, failedAttempts_));
    logger_->debug(std::string("  window visible: ") + (window->isVisible() ? "true" : "false"));
}

void OverlayWindowController::hide(const std::string& bundleId) {
    logger_->info("Overlay.hide() called for " + bundleId);
    if (const auto found = overlayWindows.find(bundleId); found != overlayWindows.end()) {
        found->second->hide();
    }
    unlockHandlers.erase(bundleId);
    cancelHandlers.erase(bundleId);
    appNames.erase(bundleId);
}

void OverlayWindowController::hideAll() {
    logger_->info("Overlay.hideAll() called - hiding " + std::to_string(overlayWindows.size()) +
                  " overlays");
    std::vector<std::string> bundleIds;
    bundleIds.reserve(overlayWindows.size());
    for (const auto& entry : overlayWindows) {
        bundleIds.push_back(entry.first);
    }
    for (const std::string& bundleId : bundleIds) {
        hide(bundleId);
    }
}

bool OverlayWindowController::isOverlayVisible(const std::string& bundleId) const {
    const auto found = overlayWindows.find(bundleId);
    return found != overlayWindows.end() && found->second->isVisible();
}

std::optional<std::string>
OverlayWindowController::shownAppName(const std::string& bundleId) const {
    const auto found = appNames.find(bundleId);
    if (found == appNames.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::shared_ptr<OverlayWindow> OverlayWindowController::window(const std::string& bundleId) const {
    const auto found = overlayWindows.find(bundleId);
    return found == overlayWindows.end() ? nullptr : found->second;
}

std::vector<std::string> OverlayWindowController::visibleBundleIds() const {
    std::vector<std::string> bundleIds;
    for (const auto& [bundleId, window] : overlayWindows) {
        if (window->isVisible()) {
            bundleIds.push_back(bundleId);
        }
    }
    return bundleIds;
}

std::size_t OverlayWindowController::visibleWindowCount() const {
    return static_cast<std::size_t>(
        std::count_if(overlayWindows.begin(), overlayWindows.end(),
                      [](const auto& entry) { return entry.second->isVisible(); }));
}

} // namespace velmora
