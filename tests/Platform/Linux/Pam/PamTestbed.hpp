#pragma once

#include "Platform/Linux/PamAuthenticationSettings.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <chrono>
#include <filesystem>
#include <string>

namespace velmora::testing {

/// A private PAM world for one test: a service directory with a "velmora" service checking
/// passwords against its own password file through pam_matrix, an "other" service that
/// denies everyone, and pam_wrapper in the environment of every process the test starts.
class PamTestbed {
public:
    PamTestbed();
    ~PamTestbed();
    PamTestbed(const PamTestbed&) = delete;
    PamTestbed& operator=(const PamTestbed&) = delete;

    /// The account the tests run as, which the helper authenticates.
    [[nodiscard]] static std::string user();

    /// Lines "user:password:service" for pam_matrix.
    void writePasswords(const std::string& lines) const;
    /// A file of `text` in the scratch directory, executable when asked.
    std::filesystem::path writeFile(const std::string& name, const std::string& text,
                                    bool executable = false) const;

    [[nodiscard]] std::filesystem::path directory() const { return scratch_.path(); }
    [[nodiscard]] std::filesystem::path serviceDirectory() const { return scratch_.path("pam.d"); }
    /// The built helper, this testbed's services, no fprintd, a short helper time-out.
    [[nodiscard]] PamAuthenticationSettings settings() const;

private:
    TemporaryDirectory scratch_;
};

} // namespace velmora::testing
