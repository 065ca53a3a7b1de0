#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmora {

/// Event types a listen-only input tap reports. The two "disabled" types are notifications
/// from the system that it switched the tap off.
enum class InputEventType : std::uint32_t {
    leftMouseDown = 1,
    rightMouseDown = 3,
    keyDown = 10,
    tapDisabledByTimeout = 0xFFFFFFFEu,
    tapDisabledByUserInput = 0xFFFFFFFFu,
};

/// Bit n of a mask selects the event type with value n.
using InputEventMask = std::uint64_t;

/// The mask bit of an event type; the "disabled" notifications have none, they always arrive.
constexpr InputEventMask inputEventMaskBit(InputEventType type) {
    const auto value = static_cast<std::uint32_t>(type);
    return value < 64 ? InputEventMask{1} << value : 0;
}

struct InputEvent {
    InputEventType type = InputEventType::keyDown;
    /// The process the event is aimed at; 0 when the event names none.
    std::int32_t targetPid = 0;
};

/// A listen-only tap that is attached to the main run loop for as long as the handle lives.
class EventTap {
public:
    virtual ~EventTap() = default;
    virtual void setEnabled(bool enabled) = 0;
    [[nodiscard]] virtual bool isEnabled() const = 0;
    /// A short text naming the tap, for log lines.
    [[nodiscard]] virtual std::string description() const = 0;
};

/// Creates listen-only input taps for the logged-in session.
///
///     auto tap = taps.createListenOnlyTap(mask, [](const InputEvent& e) { ... });
///     if (!tap) { /* no Input Monitoring permission */ }
///     tap->setEnabled(true);
///
/// The callback runs on the main thread, outside the run loop's queued work, for each
/// event of the mask while the tap is enabled, and for the two "disabled" notifications.
class EventTapProviding {
public:
    using Callback = std::function<void(const InputEvent&)>;

    virtual ~EventTapProviding() = default;
    /// Absent when the tap cannot be created (the permission is missing). A new tap is
    /// disabled until `setEnabled(true)`.
    [[nodiscard]] virtual std::unique_ptr<EventTap> createListenOnlyTap(InputEventMask mask,
                                                                        Callback callback) = 0;
};

} // namespace velmora
