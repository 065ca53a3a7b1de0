#include "Platform/Mac/MacOverlayWindowStyle.hpp"

#import <AppKit/AppKit.h>
#import <objc/runtime.h>

namespace velmora {

namespace {

NSString* const kOverlayClassPrefix = @"VLMOverlay_";

bool addRefusal(Class subclass, Class base, SEL selector) {
    Method inherited = class_getInstanceMethod(base, selector);
    IMP refuse = imp_implementationWithBlock(^BOOL(id) {
      return NO;
    });
    return inherited &&
           class_addMethod(subclass, selector, refuse, method_getTypeEncoding(inherited));
}

/// A subclass of `base` that refuses to become the key or main window. Made once per base
/// class; a window's own class may be a toolkit's private subclass of `NSWindow`, so the
/// refusal cannot be written as an ordinary subclass.
Class overlayClassFor(Class base) {
    NSString* name = [kOverlayClassPrefix stringByAppendingString:NSStringFromClass(base)];
    if (Class existing = NSClassFromString(name)) {
        return existing;
    }
    Class subclass = objc_allocateClassPair(base, name.UTF8String, 0);
    if (!subclass) {
        return nil;
    }
    if (!addRefusal(subclass, base, @selector(canBecomeKeyWindow)) ||
        !addRefusal(subclass, base, @selector(canBecomeMainWindow))) {
        objc_disposeClassPair(subclass);
        return nil;
    }
    objc_registerClassPair(subclass);
    return subclass;
}

/// Keeps `window` from ever taking the keyboard or becoming the main window.
bool refuseKeyAndMain(NSWindow* window) {
    Class current = object_getClass(window);
    if ([NSStringFromClass(current) hasPrefix:kOverlayClassPrefix]) {
        return true;
    }
    Class overlayClass = overlayClassFor(current);
    if (!overlayClass) {
        return false;
    }
    object_setClass(window, overlayClass);
    return true;
}

} // namespace

bool applyMacOverlayWindowStyle(void* nativeView) {
    if (!nativeView) {
        return false;
    }
    NSWindow* window = static_cast<NSView*>((__bridge id)nativeView).window;
    if (!window) {
        return false;
    }
    window.level = NSModalPanelWindowLevel;
    window.collectionBehavior =
        NSWindowCollectionBehaviorCanJoinAllSpaces | NSWindowCollectionBehaviorFullScreenAuxiliary;
    window.hasShadow = NO;
    window.opaque = NO;
    window.backgroundColor = [NSColor clearColor];
    return refuseKeyAndMain(window);
}

} // namespace velmora
