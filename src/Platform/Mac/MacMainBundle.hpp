#pragma once

#include "Platform/MainBundle.hpp"

namespace velmora {

/// The running program's own `NSBundle mainBundle`.
class MacMainBundle final : public MainBundle {
public:
    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override;
    [[nodiscard]] std::optional<std::string> bundlePath() const override;
    [[nodiscard]] std::optional<std::string> executablePath() const override;
};

} // namespace velmora
