#pragma once

#include "Platform/UserDefaults.hpp"

namespace velmora {

/// The standard `NSUserDefaults` of the program.
class MacUserDefaults final : public UserDefaults {
public:
    [[nodiscard]] std::optional<std::string> data(std::string_view key) const override;
    bool setData(std::string_view key, std::string bytes) override;
    [[nodiscard]] std::optional<bool> boolean(std::string_view key) const override;
    bool setBool(std::string_view key, bool value) override;
    void remove(std::string_view key) override;
};

} // namespace velmora
