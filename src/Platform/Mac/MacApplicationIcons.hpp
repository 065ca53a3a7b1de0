#pragma once

#include "Platform/ApplicationIcons.hpp"

namespace velmora {

/// Installed applications through `NSWorkspace`, their icons as the icon file their bundle
/// names, which Qt loads like any image.
class MacApplicationIcons final : public ApplicationIconProviding {
public:
    [[nodiscard]] std::optional<std::string>
    urlForApplication(const std::string& bundleIdentifier) const override;
    [[nodiscard]] std::optional<std::string> iconForFile(const std::string& path) const override;
};

} // namespace velmora
