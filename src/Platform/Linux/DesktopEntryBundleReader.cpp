#include "Platform/Linux/DesktopEntryBundleReader.hpp"

#include "Platform/Linux/DesktopFileId.hpp"

#include <filesystem>

namespace velmora {

namespace {

constexpr std::string_view kSuffix = ".desktop";

std::filesystem::path normalised(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::absolute(path, ignored).lexically_normal();
}

} // namespace

DesktopEntryBundleReader::DesktopEntryBundleReader(std::vector<std::string> applicationDirs,
                                                   DesktopLocale locale)
    : applicationDirs_(std::move(applicationDirs)), locale_(std::move(locale)) {}

std::optional<ApplicationBundle>
DesktopEntryBundleReader::readBundle(const std::string& location) const {
    if (!location.ends_with(kSuffix) || std::filesystem::is_directory(location)) {
        return std::nullopt;
    }
    const auto entry = DesktopEntry::load(location);
    if (!entry || !entry->isApplication()) {
        return std::nullopt;
    }
    ApplicationBundle bundle{.bundleIdentifier = bundleIdentifier(location), .infoStrings = {}};
    if (auto name = entry->localized("Name", locale_); name && !name->empty()) {
        bundle.infoStrings.emplace("CFBundleName", std::move(*name));
    }
    return bundle;
}

std::string DesktopEntryBundleReader::bundleIdentifier(const std::string& location) const {
    const auto file = normalised(location);
    // The innermost directory holding the file names it, should one lie inside another.
    std::optional<std::string> best;
    std::size_t bestDepth = 0;
    for (const auto& dir : applicationDirs_) {
        const auto root = normalised(dir);
        const auto relative = file.lexically_relative(root);
        if (relative.empty() || *relative.begin() == "..") {
            continue;
        }
        const auto depth = static_cast<std::size_t>(std::distance(root.begin(), root.end()));
        if (!best || depth > bestDepth) {
            best = desktopFileId(relative.string());
            bestDepth = depth;
        }
    }
    return best ? *best : desktopFileId(file.filename().string());
}

} // namespace velmora
