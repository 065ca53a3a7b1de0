#pragma once

#include "Platform/Linux/PamAuthenticationSettings.hpp"
#include "Platform/Linux/PamStackSurvey.hpp"
#include "Platform/Linux/PasswordPrompting.hpp"
#include "Platform/OwnerAuthentication.hpp"

#include <memory>

namespace velmora {

/// Owner authentication on Linux: the account password (or whatever the PAM stack asks, a
/// fingerprint included) checked by PAM in `velmora-auth-helper`, typed into Velmora's own
/// prompt.
///
///     auto service = std::make_shared<PamAuthenticationService>(prompts, settings);
///     AuthManager auth(runLoop, makeContextFactory(service));
///
/// Contexts run on the thread whose Qt event loop they use (the main thread).
class PamAuthenticationService final : public OwnerAuthenticationService {
public:
    PamAuthenticationService(std::shared_ptr<PasswordPrompting> prompts,
                             PamAuthenticationSettings settings);

    [[nodiscard]] std::unique_ptr<OwnerAuthenticationContext> makeContext() override;

private:
    std::shared_ptr<PasswordPrompting> prompts_;
    PamAuthenticationSettings settings_;
    std::shared_ptr<PamStackSurvey> survey_;
};

} // namespace velmora
