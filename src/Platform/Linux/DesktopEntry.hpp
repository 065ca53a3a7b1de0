#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// The locale that picks localised values such as `Name[de_DE]`: `lang_COUNTRY@MODIFIER`,
/// any part but the language optional.
///
///     DesktopLocale locale = DesktopLocale::fromEnvironment();   // LC_ALL, LC_MESSAGES, LANG
///     DesktopLocale german = DesktopLocale::parse("de_DE.UTF-8@euro");
struct DesktopLocale {
    std::string language;
    std::string country;
    std::string modifier;

    /// The encoding part is dropped; "C", "POSIX" and "" give the locale without a language.
    [[nodiscard]] static DesktopLocale parse(std::string_view name);
    /// The first set of LC_ALL, LC_MESSAGES and LANG.
    [[nodiscard]] static DesktopLocale fromEnvironment();
    /// The `[...]` suffixes to try, best first: lang_COUNTRY@MODIFIER, lang_COUNTRY,
    /// lang@MODIFIER, lang (those the locale has parts for).
    [[nodiscard]] std::vector<std::string> candidates() const;
};

/// The `[Desktop Entry]` group of a freedesktop desktop entry file; other groups are ignored.
///
///     if (auto entry = DesktopEntry::load("/usr/share/applications/org.gnome.TextEditor.desktop"))
///     {
///         std::optional<std::string> name = entry->localized("Name", locale);
///     }
///
/// Values come back with the escapes \s \n \t \r and \\ resolved and any bytes that are not
/// UTF-8 replaced by U+FFFD.
class DesktopEntry {
public:
    /// Nothing when the text has no `[Desktop Entry]` group.
    [[nodiscard]] static std::optional<DesktopEntry> parse(std::string_view text);
    /// Nothing when the file cannot be read or is not a desktop entry.
    [[nodiscard]] static std::optional<DesktopEntry> load(const std::string& path);

    [[nodiscard]] std::optional<std::string> value(std::string_view key) const;
    /// The value of `key[...]` that suits `locale` best, else the plain `key`.
    [[nodiscard]] std::optional<std::string> localized(std::string_view key,
                                                       const DesktopLocale& locale) const;
    /// True only for the value "true".
    [[nodiscard]] bool flag(std::string_view key) const;

    /// `Type=Application` and not `Hidden=true`.
    [[nodiscard]] bool isApplication() const;
    /// The program `Exec` starts, without environment assignments, quotes or arguments.
    [[nodiscard]] std::optional<std::string> execProgram() const;

private:
    /// Raw values by key, `Name[de]` included, as written.
    std::map<std::string, std::string, std::less<>> values_;
};

} // namespace velmora
