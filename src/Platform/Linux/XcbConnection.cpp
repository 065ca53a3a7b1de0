#include "Platform/Linux/XcbConnection.hpp"

#include <utility>

namespace velmora {

std::shared_ptr<XcbConnection> XcbConnection::open(const std::string& displayName,
                                                   std::shared_ptr<RunLoop> runLoop) {
    int screenNumber = 0;
    xcb_connection_t* connection =
        xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::shared_ptr<XcbConnection> opened{
        new XcbConnection(connection, screenNumber, std::move(runLoop))};
    if (!opened->screen_) {
        return nullptr;
    }
    return opened;
}

XcbConnection::XcbConnection(xcb_connection_t* connection, int screenNumber,
                             std::shared_ptr<RunLoop> runLoop)
    : connection_(connection), runLoop_(std::move(runLoop)), screenNumber_(screenNumber) {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; screens.rem && i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    if (!screens.rem) {
        return;
    }
    if (!xcb_ewmh_init_atoms_replies(&ewmh_, xcb_ewmh_init_atoms(connection_, &ewmh_), nullptr)) {
        return;
    }
    screen_ = screens.data;

    watch_ = std::make_unique<ReadableWatch>(xcb_get_file_descriptor(connection_),
                                             [this] { readEvents(); });
}

XcbConnection::~XcbConnection() {
    lifetime_.end();
    watch_.reset();
    queued_.clear();
    if (screen_) {
        xcb_ewmh_connection_wipe(&ewmh_);
    }
    xcb_disconnect(connection_);
}

xcb_atom_t XcbConnection::atom(std::string_view name) {
    std::string key(name);
    if (const auto found = atoms_.find(key); found != atoms_.end()) {
        return found->second;
    }
    auto answer =
        reply(xcb_intern_atom_reply,
              xcb_intern_atom(connection_, 0, static_cast<uint16_t>(key.size()), key.data()));
    if (!answer) {
        return XCB_ATOM_NONE;
    }
    atoms_.emplace(std::move(key), answer->atom);
    return answer->atom;
}

bool XcbConnection::isConnected() const {
    return !lost_ && !xcb_connection_has_error(connection_);
}

void XcbConnection::selectRootEvents(uint32_t mask) {
    if ((rootEventMask_ | mask) == rootEventMask_) {
        return;
    }
    rootEventMask_ |= mask;
    xcb_change_window_attributes(connection_, root(), XCB_CW_EVENT_MASK, &rootEventMask_);
    flush();
}

void XcbConnection::flush() {
    xcb_flush(connection_);
    // While it waits to write, XCB reads whatever the server sent: those events would sit in
    // its queue, with the socket no longer readable to wake anyone.
    collectQueuedEvents();
}

Subscription XcbConnection::observeEvents(EventHandler handler) {
    return events_.connect(std::move(handler));
}

Subscription XcbConnection::observeConnectionLost(std::function<void()> handler) {
    return connectionLost_.connect(std::move(handler));
}

void XcbConnection::readEvents() {
    // What a handler's flush reads in is dispatched by this loop, not on a later turn: each
    // restack of a cover would otherwise cost a second wake-up.
    const bool outer = std::exchange(reading_, true);
    // Events that replies brought in are older than the ones still unread: they go first.
    for (;;) {
        dispatchQueued();
        Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)};
        if (!event) {
            break;
        }
        events_.emit(*event);
    }
    reading_ = outer;
    checkConnection();
}

void XcbConnection::collectQueuedEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) {
        queued_.emplace_back(event);
    }
    if (!queued_.empty() && !dispatchScheduled_ && !reading_) {
        dispatchScheduled_ = true;
        runLoop_->post(lifetime_.guard([this] {
            dispatchScheduled_ = false;
            dispatchQueued();
        }));
    }
    checkConnection();
}

void XcbConnection::dispatchQueued() {
    while (!queued_.empty()) {
        const Reply<xcb_generic_event_t> event = std::move(queued_.front());
        queued_.pop_front();
        events_.emit(*event);
    }
}

void XcbConnection::checkConnection() {
    if (lost_ || !xcb_connection_has_error(connection_)) {
        return;
    }
    lost_ = true;
    watch_->setEnabled(false);
    // Told after the current work, so no caller sees its listeners run mid-request.
    runLoop_->post(lifetime_.guard([this] { connectionLost_.emit(); }));
}

} // namespace velmora
