#include "Platform/Mac/MacPasteboard.hpp"

#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>

namespace velmora {

void MacPasteboard::clearContents() {
    [[NSPasteboard generalPasteboard] clearContents];
}

bool MacPasteboard::setString(const std::string& text) {
    NSString* string = toNSString(text);
    return string && [[NSPasteboard generalPasteboard] setString:string
                                                         forType:NSPasteboardTypeString];
}

} // namespace velmora
