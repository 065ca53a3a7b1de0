#include "Platform/Linux/PamStackSurvey.hpp"

#include "Platform/Linux/PamServiceStack.hpp"

#include <algorithm>

namespace velmora {

PamStackSurvey::PamStackSurvey(std::filesystem::path directory, std::string service, Clock clock)
    : directory_(std::move(directory)), service_(std::move(service)), clock_(std::move(clock)) {}

PamStackSurvey::Findings PamStackSurvey::findings() {
    const auto now = clock_();
    if (readAt_ && now >= *readAt_ && now - *readAt_ < maximumAge) {
        return findings_;
    }
    const auto file = serviceFile(directory_, service_);
    findings_ = {.configured = file.has_value(),
                 .usesFingerprintReader =
                     file && std::ranges::count(authModules(*file), "pam_fprintd.so") > 0};
    readAt_ = now;
    return findings_;
}

} // namespace velmora
