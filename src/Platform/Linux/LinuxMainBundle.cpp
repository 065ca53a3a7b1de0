#include "Platform/Linux/LinuxMainBundle.hpp"

#include <filesystem>

namespace velmora {

std::optional<std::string> LinuxMainBundle::bundleIdentifier() const {
    return kBundleIdentifier;
}

std::optional<std::string> LinuxMainBundle::bundlePath() const {
    const auto executable = executablePath();
    if (!executable) {
        return std::nullopt;
    }
    return std::filesystem::path(*executable).parent_path().string();
}

std::optional<std::string> LinuxMainBundle::executablePath() const {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::nullopt;
    }
    return path.string();
}

} // namespace velmora
