#include "Platform/Linux/X11CoverWindows.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unistd.h>
#include <xcb/xcb_icccm.h>

namespace velmora {
namespace {

void restackAbove(xcb_connection_t* c, xcb_window_t window, xcb_window_t sibling) {
    const uint32_t stacking[] = {sibling, XCB_STACK_MODE_ABOVE};
    xcb_configure_window(c, window, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE,
                         stacking);
}

class X11CoverWindow final : public CoverWindow {
public:
    X11CoverWindow(std::shared_ptr<XcbConnection> connection,
                   std::shared_ptr<const X11Screens> screens,
                   std::shared_ptr<X11FocusGrabs> focusGrabs,
                   std::shared_ptr<const X11CoverWindows::IsPopup> isPopup,
                   std::shared_ptr<X11CoverWindows::CoverOfFrame> coverOf)
        : connection_(std::move(connection)), screens_(std::move(screens)),
          focusGrabs_(std::move(focusGrabs)), isPopup_(std::move(isPopup)),
          coverOf_(std::move(coverOf)) {}

    ~X11CoverWindow() override {
        grabFocusOf(XCB_WINDOW_NONE);
        coverFrame(XCB_WINDOW_NONE);
        if (window_ != XCB_WINDOW_NONE && connection_->isConnected()) {
            xcb_destroy_window(connection_->get(), window_);
            connection_->flush();
        }
    }

    X11CoverWindow(const X11CoverWindow&) = delete;
    X11CoverWindow& operator=(const X11CoverWindow&) = delete;

    void show(const CoverPlacement& placement) override {
        xcb_connection_t* c = connection_->get();
        const Rect root = screens_->coordinates().toRoot(placement.frame);
        const int left = static_cast<int>(std::floor(root.x));
        const int top = static_cast<int>(std::floor(root.y));
        // Rounded outwards, so that no edge of the window is left uncovered.
        const auto width = static_cast<uint32_t>(std::max(1.0, std::ceil(root.maxX()) - left));
        const auto height = static_cast<uint32_t>(std::max(1.0, std::ceil(root.maxY()) - top));
        if (window_ == XCB_WINDOW_NONE) {
            create(left, top, width, height);
        }
        shownAt_ = {static_cast<int16_t>(left), static_cast<int16_t>(top),
                    static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
        const uint32_t geometry[] = {static_cast<uint32_t>(left), static_cast<uint32_t>(top), width,
                                     height};
        xcb_configure_window(c, window_,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             geometry);
        // A sibling that is gone fails this request alone: the cover then stays where it
        // was, which for a new one is above everything.
        if (placement.above) {
            restackAbove(c, window_, static_cast<xcb_window_t>(*placement.above));
        } else {
            const uint32_t onTop[] = {XCB_STACK_MODE_ABOVE};
            xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_STACK_MODE, onTop);
        }
        if (!visible_) {
            xcb_map_window(c, window_);
            visible_ = true;
            taken_ = connection_->observeEvents(
                [this](const xcb_generic_event_t& event) { putBackIfTaken(event); });
        }
        placement_ = placement;
        const auto frame = static_cast<xcb_window_t>(placement.above.value_or(XCB_WINDOW_NONE));
        if (frame != XCB_WINDOW_NONE && (*isPopup_)(frame)) {
            xcb_unmap_window(c, frame);
        }
        grabFocusOf(frame);
        coverFrame(frame);
        connection_->flush();
    }

    void hide() override {
        grabFocusOf(XCB_WINDOW_NONE);
        coverFrame(XCB_WINDOW_NONE);
        taken_.reset();
        if (visible_) {
            xcb_unmap_window(connection_->get(), window_);
            connection_->flush();
            visible_ = false;
        }
    }

    [[nodiscard]] bool isVisible() const override { return visible_; }

private:
    /// Any client may unmap, destroy, move, lower or reparent another's window: a cover taken
    /// away so is put back at once. Only the server's own notices count, as a client may send
    /// anything.
    void putBackIfTaken(const xcb_generic_event_t& event) {
        switch (event.response_type) {
        case XCB_CONFIGURE_NOTIFY: {
            // Our own requests leave it where it was put, and never at the bottom.
            const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
            if (configure.window == window_ &&
                (configure.above_sibling == XCB_WINDOW_NONE || configure.x != shownAt_.x ||
                 configure.y != shownAt_.y || configure.width != shownAt_.width ||
                 configure.height != shownAt_.height)) {
                show(placement_);
            }
            break;
        }
        case XCB_UNMAP_NOTIFY:
            if (reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window == window_) {
                putBack();
            }
            break;
        case XCB_REPARENT_NOTIFY: {
            const auto& reparent = reinterpret_cast<const xcb_reparent_notify_event_t&>(event);
            if (reparent.window == window_ && reparent.parent != connection_->root()) {
                xcb_reparent_window(connection_->get(), window_, connection_->root(), shownAt_.x,
                                    shownAt_.y);
                putBack();
            }
            break;
        }
        case XCB_DESTROY_NOTIFY:
            if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == window_) {
                coverFrame(XCB_WINDOW_NONE);
                window_ = XCB_WINDOW_NONE;
                putBack();
            }
            break;
        default:
            break;
        }
    }

    /// Where it was last shown, mapped, whatever the server thinks of it now.
    void putBack() {
        show(placement_);
        xcb_map_window(connection_->get(), window_);
        connection_->flush();
    }

    void coverFrame(xcb_window_t frame) {
        if (frame == covered_) {
            return;
        }
        if (const auto known = coverOf_->find(covered_);
            known != coverOf_->end() && known->second == window_) {
            coverOf_->erase(known);
        }
        covered_ = frame;
        if (frame != XCB_WINDOW_NONE) {
            (*coverOf_)[frame] = window_;
        }
    }

    void grabFocusOf(xcb_window_t frame) {
        if (frame == grabbed_ || !connection_->isConnected()) {
            return;
        }
        if (grabbed_ != XCB_WINDOW_NONE) {
            focusGrabs_->drop(grabbed_);
        }
        grabbed_ = frame;
        if (frame != XCB_WINDOW_NONE) {
            focusGrabs_->hold(frame);
        }
    }

    void create(int left, int top, uint32_t width, uint32_t height) {
        xcb_connection_t* c = connection_->get();
        const xcb_screen_t& screen = connection_->screen();
        window_ = xcb_generate_id(c);
        const uint32_t values[] = {screen.black_pixel, 1,
                                   XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                       XCB_EVENT_MASK_POINTER_MOTION |
                                       XCB_EVENT_MASK_BUTTON_MOTION};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen.root, static_cast<int16_t>(left),
                          static_cast<int16_t>(top), static_cast<uint16_t>(width),
                          static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        // Named as Velmora's, for whoever lists the windows.
        constexpr std::string_view kClass{"velmora\0Velmora", 16};
        xcb_icccm_set_wm_class(c, window_, kClass.size(), kClass.data());
        xcb_ewmh_set_wm_pid(connection_->ewmh(), window_, static_cast<uint32_t>(getpid()));
    }

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<const X11Screens> screens_;
    std::shared_ptr<X11FocusGrabs> focusGrabs_;
    std::shared_ptr<const X11CoverWindows::IsPopup> isPopup_;
    std::shared_ptr<X11CoverWindows::CoverOfFrame> coverOf_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
    xcb_window_t grabbed_ = XCB_WINDOW_NONE;
    xcb_window_t covered_ = XCB_WINDOW_NONE;
    CoverPlacement placement_;
    xcb_rectangle_t shownAt_{};
    bool visible_ = false;
    Subscription taken_;
};

} // namespace

X11CoverWindows::X11CoverWindows(std::shared_ptr<XcbConnection> connection,
                                 std::shared_ptr<const X11Screens> screens,
                                 std::shared_ptr<X11FocusGrabs> focusGrabs, IsPopup isPopup)
    : connection_(std::move(connection)), screens_(std::move(screens)),
      focusGrabs_(std::move(focusGrabs)),
      isPopup_(std::make_shared<const IsPopup>(std::move(isPopup))) {
    connection_->selectRootEvents(XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    events_ = connection_->observeEvents([this](const xcb_generic_event_t& event) {
        // Only the server's own notices: a client may send anything.
        if (event.response_type == XCB_CONFIGURE_NOTIFY) {
            keepAboveFrame(reinterpret_cast<const xcb_configure_notify_event_t&>(event));
        }
    });
}

std::unique_ptr<CoverWindow> X11CoverWindows::makeCover() {
    return std::make_unique<X11CoverWindow>(connection_, screens_, focusGrabs_, isPopup_, coverOf_);
}

bool X11CoverWindows::covers(xcb_window_t frame) const {
    return coverOf_->contains(frame);
}

void X11CoverWindows::keepAboveFrame(const xcb_configure_notify_event_t& event) {
    // The frame restacked, or a window put directly above it, under its cover.
    bool restacked = false;
    for (const xcb_window_t frame : {event.window, event.above_sibling}) {
        const auto cover = coverOf_->find(frame);
        if (cover != coverOf_->end() && cover->second != event.window) {
            restackAbove(connection_->get(), cover->second, frame);
            restacked = true;
        }
    }
    if (restacked) {
        connection_->flush();
    }
}

} // namespace velmora
