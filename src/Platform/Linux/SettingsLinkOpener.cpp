#include "Platform/Linux/SettingsLinkOpener.hpp"

#include <array>
#include <string_view>
#include <utility>

namespace velmora {

namespace {

struct SettingsLink {
    std::string_view url;
    std::string_view section;
};

constexpr std::array<SettingsLink, 2> kLinks{{
    {settings_links::accessibility, "accessibility"},
    {settings_links::inputMonitoring, "input-monitoring"},
}};

} // namespace

SettingsLinkOpener::SettingsLinkOpener(std::shared_ptr<UrlOpening> opener, std::string helpDocument)
    : opener_(std::move(opener)), helpDocument_(std::move(helpDocument)) {}

bool SettingsLinkOpener::open(const std::string& url) {
    return opener_->open(resolve(url));
}

std::string SettingsLinkOpener::resolve(const std::string& url) const {
    for (const SettingsLink& link : kLinks) {
        if (url == link.url) {
            return "file://" + helpDocument_ + "#" + std::string(link.section);
        }
    }
    return url;
}

} // namespace velmora
