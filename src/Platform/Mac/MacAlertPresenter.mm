#include "Platform/Mac/MacAlertPresenter.hpp"

#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>

namespace velmora {

void MacAlertPresenter::showWarning(const std::string& message,
                                    const std::string& informativeText) {
    NSAlert* alert = [[NSAlert alloc] init];
    alert.messageText = toNSString(message) ?: @"";
    alert.informativeText = toNSString(informativeText) ?: @"";
    alert.alertStyle = NSAlertStyleWarning;
    [alert addButtonWithTitle:@"OK"];
    [alert runModal];
}

} // namespace velmora
