#pragma once

#include <optional>
#include <string>

namespace velmora {

/// Where the running program comes from, for support diagnostics.
///
///     std::string path = bundle.executablePath().value_or("unknown");
///
/// Each answer is absent when the program runs outside a bundle or the system cannot tell.
class MainBundle {
public:
    virtual ~MainBundle() = default;
    [[nodiscard]] virtual std::optional<std::string> bundleIdentifier() const = 0;
    [[nodiscard]] virtual std::optional<std::string> bundlePath() const = 0;
    [[nodiscard]] virtual std::optional<std::string> executablePath() const = 0;
};

} // namespace velmora
