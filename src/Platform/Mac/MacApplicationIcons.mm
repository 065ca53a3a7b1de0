#include "Platform/Mac/MacApplicationIcons.hpp"

#include "Platform/Mac/BundleIconFile.hpp"
#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>

namespace velmora {

std::optional<std::string>
MacApplicationIcons::urlForApplication(const std::string& bundleIdentifier) const {
    NSString* identifier = toNSString(bundleIdentifier);
    if (!identifier) {
        return std::nullopt;
    }
    NSURL* location =
        [[NSWorkspace sharedWorkspace] URLForApplicationWithBundleIdentifier:identifier];
    if (!location || !location.fileURL) {
        return std::nullopt;
    }
    return optionalString(location.path);
}

std::optional<std::string> MacApplicationIcons::iconForFile(const std::string& path) const {
    NSString* location = toNSString(path);
    NSBundle* bundle = location ? [NSBundle bundleWithPath:location] : nil;
    if (!bundle) {
        return std::nullopt;
    }
    const auto resources = optionalString(bundle.resourcePath);
    if (!resources) {
        return std::nullopt;
    }
    const auto icon = bundleIconFile(
        *resources, optionalString([bundle objectForInfoDictionaryKey:@"CFBundleIconFile"]));
    // Applications whose icon lives only in an asset catalog name no file.
    if (!icon || ![[NSFileManager defaultManager] fileExistsAtPath:toNSString(*icon)]) {
        return std::nullopt;
    }
    return icon;
}

} // namespace velmora
