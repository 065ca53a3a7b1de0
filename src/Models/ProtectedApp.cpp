#include "Models/ProtectedApp.hpp"

#include "Support/Utf8.hpp"
#include "Support/Uuid.hpp"

#include <string_view>

namespace velmora {

namespace {

/// "/Applications/Foo Bar.app/" gives "Foo Bar"; a leading dot starts a name, not an extension.
std::string fileNameWithoutExtension(std::string_view location) {
    while (location.size() > 1 && location.back() == '/') {
        location.remove_suffix(1);
    }
    if (const auto slash = location.rfind('/'); slash != std::string_view::npos) {
        location.remove_prefix(slash + 1);
    }
    if (const auto dot = location.rfind('.'); dot != std::string_view::npos && dot > 0) {
        location = location.substr(0, dot);
    }
    return std::string(location);
}

} // namespace

ProtectedApp ProtectedApp::make(std::string bundleIdentifier, std::string displayName,
                                TimePoint addedDate) {
    return {
        .id = makeUuidString(),
        .bundleIdentifier = std::move(bundleIdentifier),
        // A name that is not UTF-8 could never be stored; it is shown with its bad bytes
        // replaced instead.
        .displayName = validUtf8(displayName),
        .addedDate = addedDate,
    };
}

std::optional<ProtectedApp> makeProtectedApp(const std::string& location,
                                             const BundleReading& bundleReader, TimePoint now) {
    const auto bundle = bundleReader.readBundle(location);
    if (!bundle || !bundle->bundleIdentifier) {
        return std::nullopt;
    }
    std::string displayName;
    if (const auto it = bundle->infoStrings.find("CFBundleDisplayName");
        it != bundle->infoStrings.end()) {
        displayName = it->second;
    } else if (const auto name = bundle->infoStrings.find("CFBundleName");
               name != bundle->infoStrings.end()) {
        displayName = name->second;
    } else {
        displayName = fileNameWithoutExtension(location);
    }
    return ProtectedApp::make(*bundle->bundleIdentifier, std::move(displayName), now);
}

} // namespace velmora
