#include "support/FakeInput.hpp"

#include <cstdlib>
#include <stdexcept>
#include <xcb/xtest.h>

namespace velmora::bench {

FakeInput::FakeInput(const std::string& display)
    : connection_(xcb_connect(display.c_str(), nullptr)) {
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("cannot connect to the X server " + display);
    }
    const auto* xtest = xcb_get_extension_data(connection_, &xcb_test_id);
    if (!xtest || !xtest->present) {
        xcb_disconnect(connection_);
        throw std::runtime_error("the X server " + display + " has no XTEST extension");
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

FakeInput::~FakeInput() {
    xcb_disconnect(connection_);
}

void FakeInput::fake(uint8_t type, uint8_t detail, int x, int y) {
    xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, root_, static_cast<int16_t>(x),
                        static_cast<int16_t>(y), 0);
}

void FakeInput::moveTo(int x, int y) {
    fake(XCB_MOTION_NOTIFY, 0, x, y);
    xcb_flush(connection_);
}

void FakeInput::click(int x, int y) {
    fake(XCB_MOTION_NOTIFY, 0, x, y);
    fake(XCB_BUTTON_PRESS, 1);
    fake(XCB_BUTTON_RELEASE, 1);
    xcb_flush(connection_);
}

void FakeInput::key(xcb_keycode_t keycode) {
    fake(XCB_KEY_PRESS, keycode);
    fake(XCB_KEY_RELEASE, keycode);
    xcb_flush(connection_);
}

void FakeInput::sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace velmora::bench
