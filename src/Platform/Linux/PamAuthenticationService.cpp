#include "Platform/Linux/PamAuthenticationService.hpp"

#include "Platform/Linux/PamAuthenticationContext.hpp"

namespace velmora {

PamAuthenticationService::PamAuthenticationService(std::shared_ptr<PasswordPrompting> prompts,
                                                   PamAuthenticationSettings settings)
    : prompts_(std::move(prompts)), settings_(std::move(settings)),
      survey_(std::make_shared<PamStackSurvey>(settings_.serviceDirectory, settings_.serviceName)) {
}

std::unique_ptr<OwnerAuthenticationContext> PamAuthenticationService::makeContext() {
    return std::make_unique<PamAuthenticationContext>(prompts_, settings_, survey_);
}

} // namespace velmora
