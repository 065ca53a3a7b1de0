#include "Core/Overlay/OverlayWindowController.hpp"

#include "Core/Overlay/OverlayContentView.hpp"
#include "Platform/Platform.hpp"

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

constexpr AutoresizingMask kFillsWindow = kViewWidthSizable | kViewHeightSizable;
constexpr WindowCollectionBehavior kEverySpace =
    kCollectionBehaviorCanJoinAllSpaces | kCollectionBehaviorFullScreenAuxiliary;

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

    std::shared_ptr<OverlayWindow> window;
    if (const auto existing = overlayWindows.find(bundleId); existing != overlayWindows.end()) {
        window = existing->second;
        updateWindow(*window, bundleId, overlayFrame, appName, onUnlockTapped, onCancelTapped,
                     LogOperation::current());
    } else {
        window = createWindow(bundleId, overlayFrame, appName, onUnlockTapped, onCancelTapped,
                              LogOperation::current());
    }

    window->orderFrontRegardless();
    logger_->debug(std::string("  window visible: ") + (window->isVisible() ? "true" : "false"));
    // Set again once on screen, so that ordering it in cannot leave it at a lower level.
    window->setLevel(kModalPanelWindowLevel);
}

void OverlayWindowController::updateWindow(OverlayWindow& window, const std::string& bundleId,
                                           Rect frame, const std::string& appName,
                                           const Action& onUnlockTapped,
                                           const Action& onCancelTapped,
                                           const LogOperation& operation) {
    logger_->debug("  updating existing window for " + bundleId, operation);
    window.setFrame(frame, true);
    // A fresh hosting view, so the card's hover and press state start over.
    auto view = makeHostingView(appName, onUnlockTapped, onCancelTapped,
                                window.contentViewBounds().value_or(Rect{}));
    window.setContentView(view);
    hostingViews[bundleId] = std::move(view);
}

std::shared_ptr<OverlayWindow>
OverlayWindowController::createWindow(const std::string& bundleId, Rect frame,
                                      const std::string& appName, const Action& onUnlockTapped,
                                      const Action& onCancelTapped, const LogOperation& operation) {
    logger_->debug("  creating new window for " + bundleId, operation);
    auto window = makeConfiguredWindow(frame);
    auto view = makeHostingView(appName, onUnlockTapped, onCancelTapped,
                                Rect{0, 0, frame.width, frame.height});
    window->setContentView(view);
    overlayWindows[bundleId] = window;
    hostingViews[bundleId] = std::move(view);
    return window;
}

std::shared_ptr<OverlayWindow> OverlayWindowController::makeConfiguredWindow(Rect frame) {
    auto window = windowFactory_->makeWindow(frame, kWindowStyleMaskBorderless,
                                             BackingStoreType::buffered, false);
    window->setOpaque(false);
    window->setBackgroundColor(Color::clear());
    window->setHasShadow(false);
    window->setLevel(kModalPanelWindowLevel);
    window->setCollectionBehavior(kEverySpace);
    // The table keeps the window alive; it must not go away behind its back.
    window->setReleasedWhenClosed(false);
    // Clicks must land on the overlay, never on the covered window.
    window->setIgnoresMouseEvents(false);
    return window;
}

std::shared_ptr<OverlayHostingView>
OverlayWindowController::makeHostingView(const std::string& appName, const Action& onUnlockTapped,
                                         const Action& onCancelTapped, Rect frame) const {
    auto content = std::make_shared<OverlayContentView>(appName, onUnlockTapped, onCancelTapped,
                                                        biometryContexts_, failedAttempts_);
    return std::make_shared<OverlayHostingView>(
        OverlayHostingView{std::move(content), frame, kFillsWindow});
}

void OverlayWindowController::hide(const std::string& bundleId) {
    logger_->info("Overlay.hide() called for " + bundleId);
    if (const auto found = overlayWindows.find(bundleId); found != overlayWindows.end()) {
        found->second->orderOut();
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
