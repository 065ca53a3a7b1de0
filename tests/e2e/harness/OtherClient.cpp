#include "harness/OtherClient.hpp"

#include "Platform/Linux/X11WindowManagerCalls.hpp"

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <xcb/xtest.h>

namespace velmora::e2e {
namespace {

constexpr xcb_keysym_t kLetterQ = 0x71;

} // namespace

OtherClient::OtherClient(const std::string& display)
    : connection_(xcb_connect(display.c_str(), nullptr)) {
    const auto* xtest = xcb_connection_has_error(connection_)
                            ? nullptr
                            : xcb_get_extension_data(connection_, &xcb_test_id);
    if (!xtest || !xtest->present) {
        xcb_disconnect(connection_);
        throw std::runtime_error("no X server with XTEST at " + display);
    }
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    if (mapping) {
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
        for (int i = 0; i < count && letter_ == 0; ++i) {
            if (syms[i * mapping->keysyms_per_keycode] == kLetterQ) {
                letter_ = static_cast<xcb_keycode_t>(setup->min_keycode + i);
            }
        }
    }
}

OtherClient::~OtherClient() {
    xcb_disconnect(connection_);
}

void OtherClient::pressKeys(int count) {
    for (int i = 0; i < count; ++i) {
        xcb_test_fake_input(connection_, XCB_KEY_PRESS, letter_, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
        xcb_test_fake_input(connection_, XCB_KEY_RELEASE, letter_, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
    }
    sync();
}

bool OtherClient::grabKeyboard() {
    XcbReply<xcb_grab_keyboard_reply_t> reply(
        xcb_grab_keyboard_reply(connection_,
                                xcb_grab_keyboard(connection_, 0, screen_->root, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr));
    return reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
}

void OtherClient::ungrabKeyboard() {
    xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    sync();
}

bool OtherClient::keyboardHeldElsewhere() {
    if (grabKeyboard()) {
        ungrabKeyboard();
        return false;
    }
    return true;
}

xcb_window_t OtherClient::mapPopup(const ScreenRect& area, Rgb color) {
    const xcb_window_t window = xcb_generate_id(connection_);
    // Xvfb's 24-bit TrueColor screen takes 0xRRGGBB as the pixel.
    const std::uint32_t pixel = std::uint32_t(color.red) << 16 | color.green << 8 | color.blue;
    const std::uint32_t values[] = {pixel, 1};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen_->root,
                      static_cast<std::int16_t>(area.x), static_cast<std::int16_t>(area.y),
                      static_cast<std::uint16_t>(area.width),
                      static_cast<std::uint16_t>(area.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen_->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(connection_, window);
    sync();
    return window;
}

void OtherClient::raise(xcb_window_t window) {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    sync();
}

void OtherClient::takeAway(xcb_window_t window, Takeaway how) {
    if (how == Takeaway::moveToTheBottom) {
        const std::uint32_t corner[] = {0, 0, XCB_STACK_MODE_BELOW};
        xcb_configure_window(
            connection_, window,
            XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_STACK_MODE, corner);
    } else if (how == Takeaway::reparent) {
        // Into an unmapped window of this client's own.
        const xcb_window_t holder = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, holder, screen_->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, 0, nullptr);
        xcb_reparent_window(connection_, window, holder, 0, 0);
    } else {
        (how == Takeaway::destroy ? xcb_destroy_window : xcb_unmap_window)(connection_, window);
    }
    sync();
}

void OtherClient::sync() {
    // A reply comes after everything sent before it has been handled.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace velmora::e2e
