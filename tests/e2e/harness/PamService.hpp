#pragma once

#include "harness/Command.hpp"

#include <filesystem>
#include <string>

namespace velmora::e2e {

/// A private PAM configuration through pam_wrapper: the service "velmora" accepts exactly
/// one password for the current user, without root and without touching /etc/pam.d.
class PamService {
public:
    PamService(const std::filesystem::path& directory, const std::string& password);

    /// LD_PRELOAD and the pam_wrapper variables for every process that runs PAM.
    [[nodiscard]] Environment environment() const;
    /// Whether pam_wrapper and pam_matrix are installed.
    [[nodiscard]] static bool available();

private:
    std::filesystem::path serviceDirectory_;
};

} // namespace velmora::e2e
