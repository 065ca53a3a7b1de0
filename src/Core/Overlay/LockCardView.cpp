#include "Core/Overlay/LockCardView.hpp"

#include "Core/Overlay/BiometricLabel.hpp"

namespace velmora {

LockCardView::LockCardView(std::string appName, Action onUnlockTapped, Action onCancelTapped,
                           OwnerAuthenticationContextFactory biometryContexts,
                           std::shared_ptr<FailedAttempts> failedAttempts)
    : appName(std::move(appName)), onUnlockTapped(std::move(onUnlockTapped)),
      onCancelTapped(std::move(onCancelTapped)), biometryContexts(std::move(biometryContexts)),
      failedAttempts(std::move(failedAttempts)) {}

std::string LockCardView::unlockTitle() const {
    return std::string(unlockTitlePrefix) + std::string(biometricName(biometryContexts));
}

std::string_view LockCardView::unlockSymbol() const {
    return biometricIconName(biometryContexts);
}

std::optional<std::string> LockCardView::unlockWaitText() const {
    const auto seconds = failedAttempts ? failedAttempts->secondsToWait().get() : std::nullopt;
    return seconds ? std::optional(FailedAttempts::waitText(*seconds)) : std::nullopt;
}

// The actions run copies: what they do may rebuild the overlay and destroy this card.
void LockCardView::unlockTapped() const {
    if (unlockWaitText()) {
        return;
    }
    if (const Action action = onUnlockTapped) {
        action();
    }
}

void LockCardView::minimizeTapped() const {
    if (const Action action = onCancelTapped) {
        action();
    }
}

} // namespace velmora
