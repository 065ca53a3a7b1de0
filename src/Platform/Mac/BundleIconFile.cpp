#include "Platform/Mac/BundleIconFile.hpp"

#include <filesystem>

namespace velmora {

std::optional<std::string> bundleIconFile(const std::string& resourcesFolder,
                                          const std::optional<std::string>& iconFile) {
    if (resourcesFolder.empty() || !iconFile || iconFile->empty() || *iconFile == "." ||
        *iconFile == ".." || iconFile->find('/') != std::string::npos) {
        return std::nullopt;
    }
    std::filesystem::path icon = std::filesystem::path(resourcesFolder) / *iconFile;
    if (!icon.has_extension()) {
        icon += ".icns";
    }
    return icon.string();
}

} // namespace velmora
