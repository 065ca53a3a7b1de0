#pragma once

#include "Core/LockEngine/LockTypes.hpp"
#include "Models/AppState.hpp"

#include <memory>

namespace velmora {

/// Answers the lock logic's "is this application protected?" from the protected list,
/// whatever the entry's settings.
class AppStateProtectedAppChecker final : public ProtectedAppChecking {
public:
    explicit AppStateProtectedAppChecker(std::shared_ptr<const AppState> appState)
        : appState_(std::move(appState)) {}

    [[nodiscard]] bool isProtected(const std::string& bundleId) const override {
        return appState_->isProtected(bundleId);
    }

private:
    std::shared_ptr<const AppState> appState_;
};

} // namespace velmora
