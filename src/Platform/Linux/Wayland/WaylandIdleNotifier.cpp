#include "Platform/Linux/Wayland/WaylandIdleNotifier.hpp"

#include "Platform/Linux/ReadableWatch.hpp"

#include <cstring>
#include <ext-idle-notify-v1-client-protocol.h>
#include <wayland-client.h>

namespace velmora {

std::shared_ptr<WaylandIdleNotifier>
WaylandIdleNotifier::connect(const std::shared_ptr<Logging>& logger,
                             std::chrono::milliseconds idleAfter) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        logger->warn("Cannot reach the Wayland compositor for idle notifications");
        return nullptr;
    }
    std::shared_ptr<WaylandIdleNotifier> notifier(new WaylandIdleNotifier(display));
    static const wl_registry_listener registryListener{&WaylandIdleNotifier::global,
                                                       &WaylandIdleNotifier::globalRemoved};
    notifier->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(notifier->registry_, &registryListener, notifier.get());
    wl_display_roundtrip(display);
    if (!notifier->seat_ || !notifier->notifier_) {
        logger->warn("The compositor offers no idle notification");
        return nullptr;
    }
    static const ext_idle_notification_v1_listener notificationListener{
        &WaylandIdleNotifier::idled, &WaylandIdleNotifier::resumed};
    notifier->notification_ = ext_idle_notifier_v1_get_idle_notification(
        notifier->notifier_, static_cast<std::uint32_t>(idleAfter.count()), notifier->seat_);
    ext_idle_notification_v1_add_listener(notifier->notification_, &notificationListener,
                                          notifier.get());
    wl_display_flush(display);
    notifier->watch_ = std::make_unique<ReadableWatch>(wl_display_get_fd(display),
                                                       [raw = notifier.get()] { raw->dispatch(); });
    return notifier;
}

WaylandIdleNotifier::WaylandIdleNotifier(wl_display* display) : display_(display) {}

WaylandIdleNotifier::~WaylandIdleNotifier() {
    watch_.reset();
    if (notification_) {
        ext_idle_notification_v1_destroy(notification_);
    }
    if (notifier_) {
        ext_idle_notifier_v1_destroy(notifier_);
    }
    if (seat_) {
        wl_seat_destroy(seat_);
    }
    if (registry_) {
        wl_registry_destroy(registry_);
    }
    wl_display_disconnect(display_);
}

void WaylandIdleNotifier::dispatch() {
    if (wl_display_prepare_read(display_) == 0) {
        if (wl_display_read_events(display_) != 0) {
            // The compositor went away: nothing more will come.
            watch_->setEnabled(false);
            return;
        }
    }
    wl_display_dispatch_pending(display_);
    wl_display_flush(display_);
}

void WaylandIdleNotifier::global(void* data, wl_registry* registry, std::uint32_t name,
                                 const char* interface, std::uint32_t) {
    auto* self = static_cast<WaylandIdleNotifier*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat_) {
        self->seat_ =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        self->notifier_ = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    }
}

void WaylandIdleNotifier::globalRemoved(void*, wl_registry*, std::uint32_t) {}

void WaylandIdleNotifier::idled(void* data, ext_idle_notification_v1*) {
    static_cast<WaylandIdleNotifier*>(data)->idle_ = true;
}

void WaylandIdleNotifier::resumed(void* data, ext_idle_notification_v1*) {
    auto* self = static_cast<WaylandIdleNotifier*>(data);
    self->idle_ = false;
    self->resumed_.emit();
}

} // namespace velmora
