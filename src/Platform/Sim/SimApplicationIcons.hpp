#pragma once

#include "Platform/ApplicationIcons.hpp"

#include <cstddef>
#include <map>

namespace velmora {

/// Installed applications and their icons on the simulated disk.
///
///     SimApplicationIcons icons;
///     icons.install("com.example.notes", "/Applications/Notes.app", "notes.png");
class SimApplicationIcons final : public ApplicationIconProviding {
public:
    void install(const std::string& bundleIdentifier, const std::string& location,
                 const std::string& icon) {
        locations_[bundleIdentifier] = location;
        icons_[location] = icon;
    }

    [[nodiscard]] std::optional<std::string>
    urlForApplication(const std::string& bundleIdentifier) const override {
        ++lookups_;
        return find(locations_, bundleIdentifier);
    }
    [[nodiscard]] std::optional<std::string> iconForFile(const std::string& path) const override {
        return find(icons_, path);
    }

    /// How often an application's location was asked for.
    [[nodiscard]] std::size_t lookups() const { return lookups_; }

private:
    static std::optional<std::string> find(const std::map<std::string, std::string>& map,
                                           const std::string& key) {
        const auto it = map.find(key);
        return it == map.end() ? std::nullopt : std::optional(it->second);
    }

    std::map<std::string, std::string> locations_;
    std::map<std::string, std::string> icons_;
    mutable std::size_t lookups_ = 0;
};

} // namespace velmora
