#include "Platform/Mac/MacUrlOpener.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>

namespace velmora {

bool MacUrlOpener::open(const std::string& url) {
    NSString* text = toNSString(appleSettingsUrl(url));
    NSURL* target = text ? [NSURL URLWithString:text] : nil;
    return target && [[NSWorkspace sharedWorkspace] openURL:target];
}

} // namespace velmora
