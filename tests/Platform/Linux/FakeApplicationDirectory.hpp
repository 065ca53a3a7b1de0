#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"

#include <map>
#include <string>

namespace velmora::testing {

/// Desktop entries found by `_GTK_APPLICATION_ID` or by WM_CLASS class, nothing else.
class FakeApplicationDirectory final : public ApplicationDirectory {
public:
    void add(const std::string& key, DesktopApplication entry) { entries_[key] = entry; }

    [[nodiscard]] std::optional<DesktopApplication>
    applicationForWindow(const WindowIdentity& identity) const override {
        for (const auto& key : {identity.gtkApplicationId, identity.wmClassClass}) {
            if (key && entries_.contains(*key)) {
                return entries_.at(*key);
            }
        }
        return std::nullopt;
    }
    [[nodiscard]] std::optional<DesktopApplication>
    application(std::string_view desktopId) const override {
        for (const auto& [key, entry] : entries_) {
            if (entry.desktopId == desktopId) {
                return entry;
            }
        }
        return std::nullopt;
    }

    [[nodiscard]] ApplicationIdentities identities(std::string_view desktopId) const override {
        return {.desktopId = std::string(desktopId)};
    }

private:
    std::map<std::string, DesktopApplication> entries_;
};

} // namespace velmora::testing
