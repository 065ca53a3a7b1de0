#pragma once

#include "Platform/OwnerAuthentication.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Services/FailedAttempts.hpp"
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
///
/// With `failedAttempts`, every outcome is recorded there, and while it imposes a wait no
/// prompt is shown: the request fails at once with the wait in its message.
class AuthManager final : public AuthenticationProviding {
public:
    AuthManager(std::shared_ptr<RunLoop> mainLoop, OwnerAuthenticationContextFactory contextFactory,
                std::shared_ptr<FailedAttempts> failedAttempts = nullptr);

    /// The process-wide instance, over the installed platform.
    static std::shared_ptr<AuthManager> shared();

    /// A prompt about Velmora itself.
    void authenticate(std::string reason, Completion completion) override;
    void authenticate(std::string reason, std::string application, Completion completion) override;

    /// The error case for an error the system reported.
    static AuthError mapError(const OwnerAuthenticationError& error);

    const OwnerAuthenticationContextFactory contextFactory;

private:
    class Request;

    void prompt(std::string reason, Completion completion);

    std::shared_ptr<RunLoop> mainLoop_;
    std::shared_ptr<FailedAttempts> failedAttempts_;
};

} // namespace velmora
