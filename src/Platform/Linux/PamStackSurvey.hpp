#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velmora {

/// What a PAM service's stack tells before anyone is asked: whether the service is configured
/// and whether a fingerprint reader takes part. Every lock card asks, twice, while the files
/// rarely change: an answer is kept for a few seconds instead of reading them each time.
///
///     PamStackSurvey survey("/etc/pam.d", "velmora");
///     if (survey.findings().usesFingerprintReader) { ... }
class PamStackSurvey {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    struct Findings {
        bool configured = false;
        bool usesFingerprintReader = false;
    };

    static constexpr std::chrono::seconds maximumAge{5};

    PamStackSurvey(std::filesystem::path directory, std::string service,
                   Clock clock = std::chrono::steady_clock::now);

    [[nodiscard]] Findings findings();

private:
    std::filesystem::path directory_;
    std::string service_;
    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> readAt_;
    Findings findings_;
};

} // namespace velmora
