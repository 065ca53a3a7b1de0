#pragma once

#include "Platform/MainBundle.hpp"

namespace velmora {

/// The running program on Linux: there is no bundle, so the bundle is the directory that
/// holds the executable.
///
///     LinuxMainBundle bundle;
///     bundle.executablePath();   // "/usr/bin/velmora"
///     bundle.bundlePath();       // "/usr/bin"
class LinuxMainBundle final : public MainBundle {
public:
    static constexpr const char* kBundleIdentifier = "com.tovren.velmora";

    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override;
    [[nodiscard]] std::optional<std::string> bundlePath() const override;
    /// The target of /proc/self/exe; absent when it cannot be read.
    [[nodiscard]] std::optional<std::string> executablePath() const override;
};

} // namespace velmora
