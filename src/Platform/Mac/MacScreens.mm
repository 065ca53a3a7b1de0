#include "Platform/Mac/MacScreens.hpp"

#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>

namespace velmora {

namespace {

Screen describeScreen(NSScreen* screen) {
    const NSRect frame = screen.frame;
    return {
        .localizedName = toStdString(screen.localizedName),
        .frame = {frame.origin.x, frame.origin.y, frame.size.width, frame.size.height},
    };
}

} // namespace

std::vector<Screen> MacScreens::screens() const {
    std::vector<Screen> screens;
    for (NSScreen* screen in [NSScreen screens]) {
        screens.push_back(describeScreen(screen));
    }
    return screens;
}

std::optional<Screen> MacScreens::mainScreen() const {
    NSScreen* main = [NSScreen mainScreen];
    return main ? std::optional<Screen>(describeScreen(main)) : std::nullopt;
}

} // namespace velmora
