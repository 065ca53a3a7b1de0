#include "Platform/Mac/MacUserDefaults.hpp"

#include "Platform/Mac/MacText.hpp"

namespace velmora {

namespace {

NSUserDefaults* defaults() {
    return [NSUserDefaults standardUserDefaults];
}

NSString* keyText(std::string_view key) {
    return toNSString(std::string(key));
}

id valueFor(std::string_view key) {
    NSString* text = keyText(key);
    return text ? [defaults() objectForKey:text] : nil;
}

} // namespace

std::optional<std::string> MacUserDefaults::data(std::string_view key) const {
    id value = valueFor(key);
    if ([value isKindOfClass:[NSData class]]) {
        NSData* bytes = value;
        return std::string(static_cast<const char*>(bytes.bytes), bytes.length);
    }
    return optionalString(value);
}

bool MacUserDefaults::setData(std::string_view key, std::string bytes) {
    NSString* text = keyText(key);
    if (!text) {
        return false;
    }
    [defaults() setObject:[NSData dataWithBytes:bytes.data() length:bytes.size()] forKey:text];
    return true;
}

std::optional<bool> MacUserDefaults::boolean(std::string_view key) const {
    id value = valueFor(key);
    if (![value isKindOfClass:[NSNumber class]]) {
        return std::nullopt;
    }
    return static_cast<bool>([static_cast<NSNumber*>(value) boolValue]);
}

bool MacUserDefaults::setBool(std::string_view key, bool value) {
    NSString* text = keyText(key);
    if (!text) {
        return false;
    }
    [defaults() setBool:value forKey:text];
    return true;
}

void MacUserDefaults::remove(std::string_view key) {
    if (NSString* text = keyText(key)) {
        [defaults() removeObjectForKey:text];
    }
}

} // namespace velmora
