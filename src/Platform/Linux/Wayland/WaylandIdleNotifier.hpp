#pragma once

#include "Support/Logging.hpp"
#include "Support/Signal.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

struct ext_idle_notification_v1;
struct ext_idle_notifier_v1;
struct wl_display;
struct wl_registry;
struct wl_seat;

namespace velmora {

class ReadableWatch;

/// The compositor's idle notification (ext-idle-notify-v1) on a Wayland connection of its
/// own: told when the person has not touched the keyboard or pointer for a while, and when
/// they do again.
///
///     auto idle = WaylandIdleNotifier::connect(logger);   // null where there is none
///     Subscription s = idle->observeResumed([] { noteUse(); });
class WaylandIdleNotifier {
public:
    /// Nothing when the compositor cannot be reached or offers no idle notification.
    static std::shared_ptr<WaylandIdleNotifier>
    connect(const std::shared_ptr<Logging>& logger,
            std::chrono::milliseconds idleAfter = std::chrono::seconds{1});
    ~WaylandIdleNotifier();
    WaylandIdleNotifier(const WaylandIdleNotifier&) = delete;
    WaylandIdleNotifier& operator=(const WaylandIdleNotifier&) = delete;

    /// The person used the keyboard or pointer after being idle.
    [[nodiscard]] Subscription observeResumed(std::function<void()> handler) {
        return resumed_.connect(std::move(handler));
    }
    [[nodiscard]] bool isIdle() const { return idle_; }

private:
    explicit WaylandIdleNotifier(wl_display* display);
    void dispatch();

    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void globalRemoved(void* data, wl_registry* registry, std::uint32_t name);
    static void idled(void* data, ext_idle_notification_v1* notification);
    static void resumed(void* data, ext_idle_notification_v1* notification);

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    ext_idle_notifier_v1* notifier_ = nullptr;
    ext_idle_notification_v1* notification_ = nullptr;
    std::unique_ptr<ReadableWatch> watch_;
    bool idle_ = false;
    Signal<> resumed_;
};

} // namespace velmora
