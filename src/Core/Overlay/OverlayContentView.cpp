#include "Core/Overlay/OverlayContentView.hpp"

namespace velmora {

OverlayContentView::OverlayContentView(std::string appName, Action onUnlockTapped,
                                       Action onCancelTapped,
                                       OwnerAuthenticationContextFactory biometryContexts,
                                       std::shared_ptr<FailedAttempts> failedAttempts)
    : background_{backgroundOpacity},
      card_(std::move(appName), std::move(onUnlockTapped), std::move(onCancelTapped),
            std::move(biometryContexts), std::move(failedAttempts)) {}

Subscription OverlayContentView::observeUnlockWait(std::function<void()> handler) {
    if (!card_.failedAttempts) {
        return {};
    }
    return card_.failedAttempts->secondsToWait().subscribeToChanges(
        [handler = std::move(handler)](const auto&) { handler(); });
}

} // namespace velmora
