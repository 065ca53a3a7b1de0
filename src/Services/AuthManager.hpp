#pragma once

#include "Platform/OwnerAuthentication.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Support/RunLoop.hpp"

#include <memory>

namespace velmora {

/// Owner authentication through the system prompt (biometrics or the account password).
///
///     auto auth = std::make_shared<AuthManager>(runLoop, makeContextFactory(service));
///     auth->authenticate("Unlock Notes", [](AuthResult result) { ... });
///
/// Each request uses a fresh context from `contextFactory` and keeps it until its outcome is
/// delivered. The outcome is posted to the main run loop whatever thread the system answered
/// on, and only an explicit success from the system counts as success.
class AuthManager final : public AuthenticationProviding {
public:
    AuthManager(std::shared_ptr<RunLoop> mainLoop,
                OwnerAuthenticationContextFactory contextFactory);

    /// The process-wide instance, over the installed platform.
    static std::shared_ptr<AuthManager> shared();

    void authenticate(std::string reason, Completion completion) override;

    /// The error case for an error the system reported.
    static AuthError mapError(const OwnerAuthenticationError& error);

    const OwnerAuthenticationContextFactory contextFactory;

private:
    class Request;

    std::shared_ptr<RunLoop> mainLoop_;
};

} // namespace velmora
