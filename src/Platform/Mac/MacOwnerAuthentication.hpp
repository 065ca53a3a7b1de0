#pragma once

#include "Platform/OwnerAuthentication.hpp"

namespace velmora {

/// Owner authentication through LocalAuthentication: each context is a fresh `LAContext`.
///
///     auto auth = std::make_shared<AuthManager>(loop, makeContextFactory(
///         std::make_shared<MacOwnerAuthentication>()));
class MacOwnerAuthentication final : public OwnerAuthenticationService {
public:
    [[nodiscard]] std::unique_ptr<OwnerAuthenticationContext> makeContext() override;
};

} // namespace velmora
