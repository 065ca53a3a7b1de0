#include "Core/Overlay/LockCardView.hpp"

#include "Core/Overlay/BiometricLabel.hpp"

namespace velmora {

LockCardView::LockCardView(std::string appName, Action onUnlockTapped, Action onCancelTapped,
                           OwnerAuthenticationContextFactory biometryContexts)
    : appName(std::move(appName)), onUnlockTapped(std::move(onUnlockTapped)),
      onCancelTapped(std::move(onCancelTapped)), biometryContexts(std::move(biometryContexts)) {}

std::string LockCardView::unlockTitle() const {
    return std::string(unlockTitlePrefix) + std::string(biometricName(biometryContexts));
}

std::string_view LockCardView::unlockSymbol() const {
    return biometricIconName(biometryContexts);
}

// The actions run copies: what they do may rebuild the overlay and destroy this card.
void LockCardView::unlockTapped() const {
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
