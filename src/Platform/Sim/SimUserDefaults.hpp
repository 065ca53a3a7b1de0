#pragma once

#include "Platform/UserDefaults.hpp"

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

/// User defaults held in memory.
///
///     SimUserDefaults defaults;
///     defaults.setData("protectedApps", "[]");
///     defaults.setReadOnly(true);   // later writes fail, as on a full or locked store
///
/// Every write attempt is recorded, so tests can tell that nothing was written.
class SimUserDefaults final : public UserDefaults {
public:
    [[nodiscard]] std::optional<std::string> data(std::string_view key) const override;
    bool setData(std::string_view key, std::string bytes) override;
    [[nodiscard]] std::optional<bool> boolean(std::string_view key) const override;
    bool setBool(std::string_view key, bool value) override;
    void remove(std::string_view key) override;

    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    /// The key of every set or remove call, in order, including refused ones.
    [[nodiscard]] const std::vector<std::string>& writes() const { return writes_; }
    [[nodiscard]] bool contains(std::string_view key) const;

private:
    using Value = std::variant<std::string, bool>;

    bool store(std::string_view key, Value value);

    std::map<std::string, Value, std::less<>> values_;
    std::vector<std::string> writes_;
    bool readOnly_ = false;
};

} // namespace velmora
