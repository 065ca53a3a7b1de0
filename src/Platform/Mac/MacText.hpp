#pragma once

// Objective-C++ only: text between Foundation and the portable code.

#import <Foundation/Foundation.h>
#include <optional>
#include <string>

namespace velmora {

inline std::string toStdString(NSString* text) {
    const char* utf8 = text.UTF8String;
    return utf8 ? std::string(utf8) : std::string();
}

/// Absent for nil and for anything that is not a string.
inline std::optional<std::string> optionalString(id value) {
    if (![value isKindOfClass:[NSString class]]) {
        return std::nullopt;
    }
    return toStdString(static_cast<NSString*>(value));
}

/// Nil when the bytes are not UTF-8.
inline NSString* toNSString(const std::string& text) {
    return [[NSString alloc] initWithBytes:text.data()
                                    length:text.size()
                                  encoding:NSUTF8StringEncoding];
}

} // namespace velmora
