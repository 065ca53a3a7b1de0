#include "Platform/Mac/MacEventTaps.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacText.hpp"

#import <CoreGraphics/CoreGraphics.h>

namespace velmora {

namespace {

static_assert(kCGEventTapDisabledByTimeout ==
              static_cast<CGEventType>(InputEventType::tapDisabledByTimeout));
static_assert(kCGEventTapDisabledByUserInput ==
              static_cast<CGEventType>(InputEventType::tapDisabledByUserInput));
static_assert(kCGEventTargetUnixProcessID == 40);

CGEventRef forwardEvent(CGEventTapProxy, CGEventType type, CGEventRef event, void* context) {
    const auto& callback = *static_cast<const EventTapProviding::Callback*>(context);
    const bool disabled =
        type == kCGEventTapDisabledByTimeout || type == kCGEventTapDisabledByUserInput;
    const std::int64_t targetPid =
        disabled || !event ? 0 : CGEventGetIntegerValueField(event, kCGEventTargetUnixProcessID);
    callback(inputEventFromQuartz(type, targetPid));
    // Listen-only: the event always goes on unchanged.
    return event;
}

class MacEventTap final : public EventTap {
public:
    /// Takes over `tap` and its `source`; `callback` is the tap's context and lives as long.
    MacEventTap(CFMachPortRef tap, CFRunLoopSourceRef source,
                std::unique_ptr<EventTapProviding::Callback> callback)
        : tap_(tap), source_(source), callback_(std::move(callback)) {
        CGEventTapEnable(tap_, false);
        CFRunLoopAddSource(CFRunLoopGetMain(), source_, kCFRunLoopCommonModes);
    }

    ~MacEventTap() override {
        CGEventTapEnable(tap_, false);
        CFRunLoopRemoveSource(CFRunLoopGetMain(), source_, kCFRunLoopCommonModes);
        CFRelease(source_);
        // No callback may arrive once the callback's storage is gone.
        CFMachPortInvalidate(tap_);
        CFRelease(tap_);
    }

    MacEventTap(const MacEventTap&) = delete;
    MacEventTap& operator=(const MacEventTap&) = delete;

    void setEnabled(bool enabled) override { CGEventTapEnable(tap_, enabled); }
    [[nodiscard]] bool isEnabled() const override { return CGEventTapIsEnabled(tap_); }
    [[nodiscard]] std::string description() const override {
        CFStringRef text = CFCopyDescription(tap_);
        std::string description = toStdString((__bridge NSString*)text);
        CFRelease(text);
        return description;
    }

private:
    CFMachPortRef tap_;
    CFRunLoopSourceRef source_;
    std::unique_ptr<EventTapProviding::Callback> callback_;
};

} // namespace

std::unique_ptr<EventTap> MacEventTaps::createListenOnlyTap(InputEventMask mask,
                                                            Callback callback) {
    auto storage = std::make_unique<Callback>(std::move(callback));
    CFMachPortRef tap =
        CGEventTapCreate(kCGSessionEventTap, kCGHeadInsertEventTap, kCGEventTapOptionListenOnly,
                         mask, &forwardEvent, storage.get());
    if (!tap) {
        return nullptr;
    }
    CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, tap, 0);
    if (!source) {
        CFMachPortInvalidate(tap);
        CFRelease(tap);
        return nullptr;
    }
    return std::make_unique<MacEventTap>(tap, source, std::move(storage));
}

} // namespace velmora
