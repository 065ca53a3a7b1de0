#include "Platform/Mac/MacHostApplication.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacObservation.hpp"
#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>
#import <objc/runtime.h>

static_assert(NSTerminateCancel == static_cast<int>(velmora::TerminateReply::cancel));
static_assert(NSTerminateNow == static_cast<int>(velmora::TerminateReply::now));
static_assert(NSTerminateLater == static_cast<int>(velmora::TerminateReply::later));

/// Qt's application delegate passes every call it does not handle to this one.
@protocol VLMReflectingApplicationDelegate
- (void)setReflectionDelegate:(NSObject<NSApplicationDelegate>*)delegate;
@end

@interface VLMApplicationDelegate : NSObject <NSApplicationDelegate>
- (instancetype)initWithDelegate:(std::weak_ptr<velmora::ApplicationDelegate>)delegate;
@end

@implementation VLMApplicationDelegate {
    std::weak_ptr<velmora::ApplicationDelegate> _delegate;
}

- (instancetype)initWithDelegate:(std::weak_ptr<velmora::ApplicationDelegate>)delegate {
    if ((self = [super init])) {
        _delegate = std::move(delegate);
    }
    return self;
}

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
    if (auto delegate = _delegate.lock()) {
        delegate->applicationDidFinishLaunching();
    }
}

- (NSApplicationTerminateReply)applicationShouldTerminate:(NSApplication*)sender {
    auto delegate = _delegate.lock();
    return delegate
               ? static_cast<NSApplicationTerminateReply>(delegate->applicationShouldTerminate())
               : NSTerminateNow;
}

- (void)applicationWillTerminate:(NSNotification*)notification {
    if (auto delegate = _delegate.lock()) {
        delegate->applicationWillTerminate();
    }
}

@end

namespace velmora {

namespace {

const char kWindowIdKey = 0;

/// A stable id per window: window numbers are not assigned before a window is first shown.
int idOf(NSWindow* window) {
    static int lastId = 0;
    NSNumber* number = objc_getAssociatedObject(window, &kWindowIdKey);
    if (!number) {
        number = @(++lastId);
        objc_setAssociatedObject(window, &kWindowIdKey, number, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    }
    return number.intValue;
}

NSWindow* windowWithId(int windowId) {
    for (NSWindow* window in NSApp.windows) {
        if (idOf(window) == windowId) {
            return window;
        }
    }
    return nil;
}

AppWindowKind kindOf(NSWindow* window) {
    if ([window isKindOfClass:[NSOpenPanel class]]) {
        return AppWindowKind::openPanel;
    }
    if ([window isKindOfClass:[NSSavePanel class]]) {
        return AppWindowKind::savePanel;
    }
    return AppWindowKind::standard;
}

} // namespace

struct MacHostApplication::Forwarder {
    VLMApplicationDelegate* object;
};

MacHostApplication::MacHostApplication(std::shared_ptr<RunLoop> runLoop)
    : runLoop_(std::move(runLoop)) {
    [NSApplication sharedApplication];
}

MacHostApplication::~MacHostApplication() = default;

std::optional<std::string> MacHostApplication::bundleIdentifier() const {
    return optionalString([NSBundle mainBundle].bundleIdentifier);
}

std::vector<AppWindow> MacHostApplication::windows() const {
    std::vector<AppWindow> windows;
    for (NSWindow* window in NSApp.windows) {
        // The status item's window belongs to the menu bar: raising it or giving it a normal
        // level would hide the program's menu-bar icon.
        if (window.level >= NSStatusWindowLevel) {
            continue;
        }
        windows.push_back({
            .id = idOf(window),
            .kind = kindOf(window),
            .visible = static_cast<bool>(window.visible),
            .level = static_cast<WindowLevel>(window.level),
        });
    }
    return windows;
}

void MacHostApplication::setDelegate(std::weak_ptr<ApplicationDelegate> delegate) {
    // The application holds its delegate weakly; this object keeps it alive.
    forwarder_ = std::make_unique<Forwarder>(
        Forwarder{[[VLMApplicationDelegate alloc] initWithDelegate:std::move(delegate)]});
    id current = NSApp.delegate;
    if (current && [current respondsToSelector:@selector(setReflectionDelegate:)]) {
        [static_cast<id<VLMReflectingApplicationDelegate>>(current)
            setReflectionDelegate:forwarder_->object];
    } else {
        NSApp.delegate = forwarder_->object;
    }
    if (NSRunningApplication.currentApplication.finishedLaunching) {
        // Launching finished before the delegate was set; it still hears of it, once.
        runLoop_->post([forwarder = forwarder_->object] {
            [forwarder
                applicationDidFinishLaunching:
                    [NSNotification notificationWithName:NSApplicationDidFinishLaunchingNotification
                                                  object:NSApp]];
        });
    }
}

void MacHostApplication::setActivationPolicy(ActivationPolicy policy) {
    [NSApp setActivationPolicy:static_cast<NSApplicationActivationPolicy>(
                                   rawActivationPolicy(policy))];
}

void MacHostApplication::activateIgnoringOtherApps() {
#pragma clang diagnostic push
    // Deprecated from macOS 14 in favour of the cooperative -activate, which may leave the
    // program behind the application in use; the settings window must come forward.
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    [NSApp activateIgnoringOtherApps:YES];
#pragma clang diagnostic pop
}

void MacHostApplication::setWindowLevel(int windowId, WindowLevel level) {
    windowWithId(windowId).level = level;
}

void MacHostApplication::makeKeyAndOrderFront(int windowId) {
    [windowWithId(windowId) makeKeyAndOrderFront:nil];
}

void MacHostApplication::terminate() {
    [NSApp terminate:nil];
}

void MacHostApplication::replyToApplicationShouldTerminate(bool shouldTerminate) {
    [NSApp replyToApplicationShouldTerminate:shouldTerminate];
}

Subscription MacHostApplication::observeDidBecomeActive(EventHandler handler) {
    return observeOnRunLoop([NSNotificationCenter defaultCenter],
                            NSApplicationDidBecomeActiveNotification, runLoop_,
                            [handler](NSNotification*) { return handler; });
}

} // namespace velmora
