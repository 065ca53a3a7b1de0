#include "Platform/Mac/MacCoverWindows.hpp"

#import <AppKit/AppKit.h>

@interface VLMCoverWindow : NSWindow
@end

@implementation VLMCoverWindow
- (BOOL)canBecomeKeyWindow {
    return NO;
}
- (BOOL)canBecomeMainWindow {
    return NO;
}
@end

namespace velmora {
namespace {

class MacCoverWindow final : public CoverWindow {
public:
    ~MacCoverWindow() override { [window_ orderOut:nil]; }

    void show(const CoverPlacement& placement) override {
        const NSRect frame = NSMakeRect(placement.frame.x, placement.frame.y, placement.frame.width,
                                        placement.frame.height);
        if (!window_) {
            window_ = [[VLMCoverWindow alloc] initWithContentRect:frame
                                                        styleMask:NSWindowStyleMaskBorderless
                                                          backing:NSBackingStoreBuffered
                                                            defer:NO];
            window_.opaque = YES;
            window_.backgroundColor = [NSColor blackColor];
            window_.hasShadow = NO;
            window_.releasedWhenClosed = NO;
            window_.ignoresMouseEvents = NO;
        }
        // Ordering relative to another window only works within one level.
        window_.level = placement.layer;
        [window_ setFrame:frame display:YES];
        if (placement.above) {
            [window_ orderWindow:NSWindowAbove relativeTo:static_cast<NSInteger>(*placement.above)];
        } else {
            [window_ orderFrontRegardless];
        }
    }

    void hide() override { [window_ orderOut:nil]; }

    [[nodiscard]] bool isVisible() const override { return window_ && window_.visible; }

private:
    VLMCoverWindow* window_ = nil;
};

} // namespace

std::unique_ptr<CoverWindow> MacCoverWindows::makeCover() {
    return std::make_unique<MacCoverWindow>();
}

} // namespace velmora
