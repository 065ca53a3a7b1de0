#include "Ui/X11OverlayStacking.hpp"

#include "Ui/X11VelmoraWindows.hpp"

#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <array>
#include <utility>

namespace velmora {
namespace {

// Another client that raises itself whenever it is covered would otherwise make both spin.
constexpr std::chrono::milliseconds kRaiseGap{10};

} // namespace

X11OverlayStacking::X11OverlayStacking(std::shared_ptr<XcbConnection> connection,
                                       std::shared_ptr<RunLoop> runLoop,
                                       ShownOverlays shownOverlays)
    : connection_(std::move(connection)), runLoop_(std::move(runLoop)),
      shownOverlays_(std::move(shownOverlays)) {
    connection_->selectRootEvents(XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    events_ = connection_->observeEvents(
        [this](const xcb_generic_event_t& event) { handleEvent(event); });
}

void X11OverlayStacking::handleEvent(const xcb_generic_event_t& event) {
    const xcb_window_t root = connection_->root();
    bool above = false;
    switch (event.response_type & 0x7f) {
    case XCB_MAP_NOTIFY: {
        // A window maps where it was stacked, often on top; asking would cost a round trip.
        // A cover ordered in while the prompt is open lands above the prompt.
        const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
        above = map.event == root && (!isVelmoraWindow(map.window) ||
                                      (isOverlay(map.window) && !otherWindows().empty()));
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
        // Another window restacked onto one of Velmora's, or an overlay lowered to the bottom.
        above = configure.event == root && (configure.above_sibling == XCB_WINDOW_NONE
                                                ? isOverlay(configure.window)
                                                : isVelmoraWindow(configure.above_sibling) &&
                                                      !isVelmoraWindow(configure.window));
        break;
    }
    case XCB_UNMAP_NOTIFY: {
        // Any client may unmap another's window: a shown overlay unmapped so comes back.
        const auto& unmap = reinterpret_cast<const xcb_unmap_notify_event_t&>(event);
        if (unmap.event == root && isOverlay(unmap.window)) {
            xcb_map_window(connection_->get(), unmap.window);
            connection_->flush();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        // Only the server's own notices remake a card: another client may send any event.
        const auto& destroyed = reinterpret_cast<const xcb_destroy_notify_event_t&>(event);
        if (event.response_type == XCB_DESTROY_NOTIFY && destroyed.event == root) {
            remakeOverlay(destroyed.window);
        }
        break;
    }
    case XCB_REPARENT_NOTIFY: {
        const auto& reparent = reinterpret_cast<const xcb_reparent_notify_event_t&>(event);
        if (event.response_type == XCB_REPARENT_NOTIFY && reparent.event == root &&
            reparent.parent != root) {
            remakeOverlay(reparent.window);
        }
        break;
    }
    case XCB_CIRCULATE_NOTIFY: {
        const auto& circulate = reinterpret_cast<const xcb_circulate_notify_event_t&>(event);
        above = circulate.event == root && circulate.place == XCB_PLACE_ON_TOP &&
                !isVelmoraWindow(circulate.window);
        break;
    }
    default:
        break;
    }
    if (above && !shownOverlays_().empty()) {
        scheduleRaise();
    }
}

void X11OverlayStacking::scheduleRaise() {
    if (raiseScheduled_) {
        return;
    }
    raiseScheduled_ = true;
    auto task = lifetime_.guard([this] { raise(); });
    const auto wait = lastRaise_ + kRaiseGap - std::chrono::steady_clock::now();
    if (wait <= std::chrono::steady_clock::duration::zero()) {
        runLoop_->post(std::move(task));
    } else {
        runLoop_->after(std::chrono::duration_cast<Seconds>(wait), std::move(task));
    }
}

void X11OverlayStacking::raise() {
    raiseScheduled_ = false;
    lastRaise_ = std::chrono::steady_clock::now();
    if (shownOverlays_().empty()) {
        return;
    }
    // The overlays, then the prompt above them.
    std::vector<xcb_window_t> overlays;
    for (QWindow* overlay : shownOverlays_()) {
        overlays.push_back(static_cast<xcb_window_t>(overlay->winId()));
    }
    const std::vector<xcb_window_t> others = otherWindows();
    xcb_connection_t* c = connection_->get();
    const auto tree =
        connection_->reply(xcb_query_tree_reply, xcb_query_tree(c, connection_->root()));
    if (!tree) {
        return;
    }
    // Bottom to top: each goes to the top in turn, so they keep their order among themselves.
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    for (const std::vector<xcb_window_t>* group : std::array{&std::as_const(overlays), &others}) {
        for (int i = 0; i < count; ++i) {
            if (std::find(group->begin(), group->end(), children[i]) != group->end()) {
                xcb_configure_window(c, children[i], XCB_CONFIG_WINDOW_STACK_MODE, &above);
            }
        }
    }
    connection_->flush();
}

void X11OverlayStacking::remakeOverlay(xcb_window_t window) {
    for (QWindow* overlay : shownOverlays_()) {
        if (static_cast<xcb_window_t>(overlay->winId()) == window) {
            // Qt makes a new native window for one it has let go of.
            runLoop_->post(lifetime_.guard([overlay = QPointer(overlay)] {
                if (overlay && overlay->isVisible()) {
                    overlay->destroy();
                    overlay->show();
                }
            }));
        }
    }
}

bool X11OverlayStacking::isOverlay(xcb_window_t window) const {
    const auto overlays = shownOverlays_();
    return std::any_of(overlays.begin(), overlays.end(), [&](QWindow* overlay) {
        return static_cast<xcb_window_t>(overlay->winId()) == window;
    });
}

std::vector<xcb_window_t> X11OverlayStacking::otherWindows() const {
    const auto overlays = shownOverlays_();
    std::vector<xcb_window_t> others;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->handle() && window->isVisible() &&
            window->flags().testFlag(Qt::X11BypassWindowManagerHint) &&
            std::find(overlays.begin(), overlays.end(), window) == overlays.end()) {
            others.push_back(static_cast<xcb_window_t>(window->winId()));
        }
    }
    return others;
}

} // namespace velmora
