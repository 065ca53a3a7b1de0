#include "Platform/Mac/MacWindowList.hpp"

#include "Platform/Mac/WindowInfoReading.hpp"

#import <CoreGraphics/CoreGraphics.h>

namespace velmora {

namespace {

std::optional<double> numberIn(CFDictionaryRef dictionary, CFStringRef key) {
    const void* value = CFDictionaryGetValue(dictionary, key);
    double number = 0;
    if (!value || CFGetTypeID(value) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberDoubleType, &number)) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::map<std::string, double>> boundsIn(CFDictionaryRef entry) {
    const void* value = CFDictionaryGetValue(entry, kCGWindowBounds);
    if (!value || CFGetTypeID(value) != CFDictionaryGetTypeID()) {
        return std::nullopt;
    }
    const auto bounds = static_cast<CFDictionaryRef>(value);
    std::map<std::string, double> numbers;
    const std::pair<CFStringRef, const char*> keys[] = {{CFSTR("X"), "X"},
                                                        {CFSTR("Y"), "Y"},
                                                        {CFSTR("Width"), "Width"},
                                                        {CFSTR("Height"), "Height"}};
    for (const auto& [cfKey, key] : keys) {
        if (auto number = numberIn(bounds, cfKey)) {
            numbers.emplace(key, *number);
        }
    }
    return numbers;
}

} // namespace

std::optional<std::vector<WindowListEntry>> MacWindowList::onScreenWindows() const {
    CFArrayRef list = CGWindowListCopyWindowInfo(
        kCGWindowListOptionOnScreenOnly | kCGWindowListExcludeDesktopElements, kCGNullWindowID);
    if (!list) {
        return std::nullopt;
    }
    std::optional<std::vector<WindowListEntry>> entries(std::in_place);
    for (CFIndex i = 0, count = CFArrayGetCount(list); i < count; ++i) {
        const void* item = CFArrayGetValueAtIndex(list, i);
        if (!item || CFGetTypeID(item) != CFDictionaryGetTypeID()) {
            entries.reset();
            break;
        }
        const auto entry = static_cast<CFDictionaryRef>(item);
        entries->push_back(readWindowInfo({
            .ownerPid = numberIn(entry, kCGWindowOwnerPID),
            .layer = numberIn(entry, kCGWindowLayer),
            .number = numberIn(entry, kCGWindowNumber),
            .bounds = boundsIn(entry),
        }));
    }
    CFRelease(list);
    return entries;
}

} // namespace velmora
