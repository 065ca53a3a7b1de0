#include "Core/Overlay/OverlayContentView.hpp"

namespace velmora {

OverlayContentView::OverlayContentView(std::string appName, Action onUnlockTapped,
                                       Action onCancelTapped,
                                       OwnerAuthenticationContextFactory biometryContexts)
    : background_{backgroundOpacity},
      card_(std::move(appName), std::move(onUnlockTapped), std::move(onCancelTapped),
            std::move(biometryContexts)) {}

} // namespace velmora
