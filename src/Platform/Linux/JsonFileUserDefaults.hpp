#pragma once

#include "Platform/UserDefaults.hpp"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace velmora {

/// The user defaults as one JSON object in a file a person can read and edit,
/// `$XDG_CONFIG_HOME/velmora/defaults.json` by default:
///
///     {
///         "launchAtLogin": true,
///         "protectedApps": [ { "bundleIdentifier": "org.gnome.TextEditor", ... } ]
///     }
///
///     JsonFileUserDefaults defaults(JsonFileUserDefaults::defaultPath());
///     defaults.setBool("launchAtLogin", true);
///
/// How values are kept in the file:
/// - booleans are JSON booleans;
/// - data that is the JSON text of an array or object is kept as that JSON value (and read
///   back as compact JSON text with sorted keys, which decodes to the same value);
/// - other data that is UTF-8 text is kept as a JSON string;
/// - any other bytes as `{"base64": "..."}` (standard alphabet, padded), so they come back
///   byte for byte. A data value whose JSON happens to have that one-key shape is kept as a
///   string instead, so the two cannot be confused.
///
/// Every change rewrites the file atomically. A file that is not a JSON object is copied
/// aside first (`defaults.json.unreadable`, then `.2`, `.3`, ...; an older different copy is
/// never replaced) and the program starts with empty defaults; while it cannot be copied
/// aside, or cannot even be read, nothing overwrites it and the setters answer false.
class JsonFileUserDefaults final : public UserDefaults {
public:
    explicit JsonFileUserDefaults(std::string path);

    /// `$XDG_CONFIG_HOME/velmora/defaults.json`, or `~/.config/velmora/defaults.json`.
    [[nodiscard]] static std::string defaultPath();

    [[nodiscard]] std::optional<std::string> data(std::string_view key) const override;
    bool setData(std::string_view key, std::string bytes) override;
    [[nodiscard]] std::optional<bool> boolean(std::string_view key) const override;
    bool setBool(std::string_view key, bool value) override;
    void remove(std::string_view key) override;

private:
    void load();
    /// Nothing once the unreadable file (if any) has a copy aside, else why not.
    std::optional<std::string> keepUnreadableFileAside();
    bool store(nlohmann::json values);

    std::string path_;
    nlohmann::json values_ = nlohmann::json::object();
    /// The contents of an unreadable file not yet copied aside.
    std::optional<std::string> unreadableContents_;
    std::string keptAsideAs_;
    /// Set when the file exists but could not be read at all: it is never overwritten.
    bool fileInaccessible_ = false;
};

} // namespace velmora
