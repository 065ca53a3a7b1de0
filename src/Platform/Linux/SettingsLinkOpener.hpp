#pragma once

#include "Platform/UrlOpening.hpp"

#include <memory>
#include <string>

namespace velmora {

/// Opens the settings sections that the permission guidance names (`settings_links`); Linux
/// has no such panes, so they open the matching help section of Velmora's README instead.
/// Every other URL goes to the wrapped opener unchanged.
///
///     SettingsLinkOpener opener(std::make_shared<XdgUrlOpener>(),
///     "/usr/share/doc/velmora/README.md");
///     opener.open(std::string(settings_links::accessibility));
///     // opens file:///usr/share/doc/velmora/README.md#accessibility
class SettingsLinkOpener final : public UrlOpening {
public:
    SettingsLinkOpener(std::shared_ptr<UrlOpening> opener, std::string helpDocument);

    bool open(const std::string& url) override;

    /// The help URL for a settings link, or the URL itself when it is none.
    [[nodiscard]] std::string resolve(const std::string& url) const;

private:
    std::shared_ptr<UrlOpening> opener_;
    std::string helpDocument_;
};

} // namespace velmora
