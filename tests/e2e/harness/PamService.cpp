#include "harness/PamService.hpp"

#include <fstream>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

namespace velmora::e2e {
namespace {

const std::filesystem::path kPamWrapper = "/usr/lib/x86_64-linux-gnu/libpam_wrapper.so";
const std::filesystem::path kPamMatrix = "/usr/lib/x86_64-linux-gnu/pam_wrapper/pam_matrix.so";
const std::filesystem::path kPamDeny = "/usr/lib/x86_64-linux-gnu/security/pam_deny.so";

std::string currentUser() {
    const passwd* entry = getpwuid(getuid());
    if (!entry) {
        throw std::runtime_error("the current user has no password database entry");
    }
    return entry->pw_name;
}

} // namespace

PamService::PamService(const std::filesystem::path& directory, const std::string& password)
    : serviceDirectory_(directory / "pam.d") {
    std::filesystem::create_directories(serviceDirectory_);
    const auto passdb = directory / "passdb";
    std::ofstream(passdb) << currentUser() << ":" << password << ":velmora\n";
    const std::string matrix = kPamMatrix.string() + " passdb=" + passdb.string();
    std::ofstream(serviceDirectory_ / "velmora") << "auth required " << matrix << "\n"
                                                 << "account required " << matrix << "\n";
    // Any other service pam_wrapper is asked for fails quietly instead of reading /etc/pam.d.
    std::ofstream(serviceDirectory_ / "other") << "auth required " << kPamDeny.string() << "\n"
                                               << "account required " << kPamDeny.string() << "\n";
}

Environment PamService::environment() const {
    return {{"LD_PRELOAD", kPamWrapper.string()},
            {"PAM_WRAPPER", "1"},
            {"PAM_WRAPPER_SERVICE_DIR", serviceDirectory_.string()}};
}

bool PamService::available() {
    return std::filesystem::exists(kPamWrapper) && std::filesystem::exists(kPamMatrix);
}

} // namespace velmora::e2e
