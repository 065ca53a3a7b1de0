#include "PamTestbed.hpp"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace velmora::testing {

PamTestbed::PamTestbed() {
    std::filesystem::create_directory(serviceDirectory());
    const std::string passdb = scratch_.path("passdb");
    writeFile("pam.d/velmora", "auth required " VELMORA_PAM_MATRIX " passdb=" + passdb +
                                   "\naccount required " VELMORA_PAM_MATRIX " passdb=" + passdb +
                                   "\n");
    writeFile("pam.d/other", "auth required pam_deny.so\naccount required pam_deny.so\n");
    writePasswords("");
    setenv("LD_PRELOAD", VELMORA_PAM_WRAPPER, 1);
    setenv("PAM_WRAPPER", "1", 1);
    setenv("PAM_WRAPPER_SERVICE_DIR", serviceDirectory().c_str(), 1);
}

PamTestbed::~PamTestbed() {
    unsetenv("LD_PRELOAD");
    unsetenv("PAM_WRAPPER");
    unsetenv("PAM_WRAPPER_SERVICE_DIR");
}

std::string PamTestbed::user() {
    const passwd* entry = getpwuid(getuid());
    return entry ? entry->pw_name : "";
}

void PamTestbed::writePasswords(const std::string& lines) const {
    writeFile("passdb", lines.empty() ? "" : lines + "\n");
}

std::filesystem::path PamTestbed::writeFile(const std::string& name, const std::string& text,
                                            bool executable) const {
    const std::filesystem::path path = scratch_.write(name, text);
    if (executable) {
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    return path;
}

PamAuthenticationSettings PamTestbed::settings() const {
    PamAuthenticationSettings settings;
    settings.helperPath = VELMORA_AUTH_HELPER;
    settings.serviceDirectory = serviceDirectory();
    settings.fprintdService = scratch_.path("no-fprintd");
    settings.helperTimeout = std::chrono::seconds(10);
    return settings;
}

} // namespace velmora::testing
