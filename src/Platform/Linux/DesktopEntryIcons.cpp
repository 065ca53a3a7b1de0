#include "Platform/Linux/DesktopEntryIcons.hpp"

#include "Platform/Linux/DesktopEntry.hpp"

namespace velmora {

DesktopEntryIcons::DesktopEntryIcons(std::shared_ptr<const ApplicationDirectory> directory)
    : directory_(std::move(directory)) {}

std::optional<std::string>
DesktopEntryIcons::urlForApplication(const std::string& bundleIdentifier) const {
    if (auto application = directory_->application(bundleIdentifier)) {
        return application->path;
    }
    return std::nullopt;
}

std::optional<std::string> DesktopEntryIcons::iconForFile(const std::string& path) const {
    const auto entry = DesktopEntry::load(path);
    auto icon = entry ? entry->value("Icon") : std::nullopt;
    if (icon && icon->empty()) {
        return std::nullopt;
    }
    return icon;
}

} // namespace velmora
