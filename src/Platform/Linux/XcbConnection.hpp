#pragma once

#include "Platform/Linux/ReadableWatch.hpp"
#include "Platform/Linux/X11WindowManagerCalls.hpp"
#include "Support/Lifetime.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"
#include "Support/Subscription.hpp"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

namespace velmora {

/// Velmora's own connection to the X server, read on the Qt event loop of the thread that
/// made it. Events reach the listeners when the socket has something to read (or, when a
/// reply brought them in, from the run loop right after the current work), never inside a
/// caller's request.
///
///     auto x = XcbConnection::open("", runLoop);   // $DISPLAY
///     if (!x) { /* no X server */ }
///     Subscription s = x->observeEvents([](const xcb_generic_event_t& e) { ... });
///     Subscription lost = x->observeConnectionLost([] { logAndQuit(); });
///     auto reply = x->reply(xcb_get_input_focus_reply, xcb_get_input_focus(x->get()));
class XcbConnection {
public:
    using EventHandler = std::function<void(const xcb_generic_event_t&)>;

    template <class T> using Reply = XcbReply<T>;

    /// Absent when the display cannot be opened or its EWMH atoms cannot be interned. An empty
    /// name means $DISPLAY.
    static std::shared_ptr<XcbConnection> open(const std::string& displayName,
                                               std::shared_ptr<RunLoop> runLoop);
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    [[nodiscard]] xcb_connection_t* get() const { return connection_; }
    [[nodiscard]] xcb_ewmh_connection_t* ewmh() { return &ewmh_; }
    [[nodiscard]] xcb_window_t root() const { return screen_->root; }
    [[nodiscard]] const xcb_screen_t& screen() const { return *screen_; }
    /// The loop its events are dispatched on.
    [[nodiscard]] RunLoop& runLoop() const { return *runLoop_; }
    /// The number of that screen on its display, as EWMH requests name it.
    [[nodiscard]] int screenNumber() const { return screenNumber_; }
    /// The atom of `name`, interned once and kept.
    [[nodiscard]] xcb_atom_t atom(std::string_view name);
    /// False once the connection broke.
    [[nodiscard]] bool isConnected() const;

    /// The reply to a request, absent on an X error; events it brought in are dispatched
    /// right after the current work.
    template <class T, class Cookie>
    Reply<T> reply(T* (*getReply)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
                   Cookie cookie) {
        xcb_generic_error_t* error = nullptr;
        Reply<T> answer{getReply(connection_, cookie, &error)};
        std::free(error);
        collectQueuedEvents();
        return answer;
    }

    /// Adds `mask` to the events selected on the root window.
    void selectRootEvents(uint32_t mask);
    /// Sends what is buffered; events it brought in are dispatched right after the current
    /// work.
    void flush();

    [[nodiscard]] Subscription observeEvents(EventHandler handler);
    /// Called once, on the main thread, when the X connection is lost. Nothing can be done
    /// on it after that: the program logs it and ends with a failure status.
    [[nodiscard]] Subscription observeConnectionLost(std::function<void()> handler);

private:
    XcbConnection(xcb_connection_t* connection, int screenNumber, std::shared_ptr<RunLoop> runLoop);
    void readEvents();
    void collectQueuedEvents();
    void dispatchQueued();
    void checkConnection();

    xcb_connection_t* connection_;
    std::shared_ptr<RunLoop> runLoop_;
    xcb_screen_t* screen_ = nullptr;
    int screenNumber_ = 0;
    xcb_ewmh_connection_t ewmh_{};
    uint32_t rootEventMask_ = 0;
    std::unordered_map<std::string, xcb_atom_t> atoms_;
    std::deque<Reply<xcb_generic_event_t>> queued_;
    bool dispatchScheduled_ = false;
    bool reading_ = false;
    bool lost_ = false;
    Signal<const xcb_generic_event_t&> events_;
    Signal<> connectionLost_;
    LifetimeToken lifetime_;
    std::unique_ptr<ReadableWatch> watch_;
};

} // namespace velmora
