#include "Platform/Mac/MacBundleReader.hpp"

#include "Platform/Mac/MacText.hpp"

namespace velmora {

std::optional<ApplicationBundle> MacBundleReader::readBundle(const std::string& location) const {
    NSString* path = toNSString(location);
    NSBundle* bundle = path ? [NSBundle bundleWithURL:[NSURL fileURLWithPath:path]] : nil;
    if (!bundle) {
        return std::nullopt;
    }
    ApplicationBundle result{.bundleIdentifier = optionalString(bundle.bundleIdentifier)};
    NSDictionary<NSString*, id>* info = bundle.infoDictionary;
    for (id key in info) {
        const auto name = optionalString(key);
        const auto text = optionalString(info[key]);
        if (name && text) {
            result.infoStrings.insert_or_assign(*name, *text);
        }
    }
    return result;
}

} // namespace velmora
