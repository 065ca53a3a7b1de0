#pragma once

#include <string>
#include <xcb/xcb.h>

namespace velmora::bench {

/// Input made through XTEST on a connection of its own, as if a person typed or clicked.
///
///     FakeInput input(":7");
///     input.click(640, 400);
///     input.key(38);
///     input.sync();   // the server has handled all of it
class FakeInput {
public:
    /// Throws std::runtime_error when the server cannot be reached or lacks XTEST.
    explicit FakeInput(const std::string& display);
    ~FakeInput();
    FakeInput(const FakeInput&) = delete;
    FakeInput& operator=(const FakeInput&) = delete;

    [[nodiscard]] xcb_connection_t* connection() const { return connection_; }
    [[nodiscard]] xcb_window_t root() const { return root_; }

    void moveTo(int x, int y);
    /// Moves there and presses and releases the left button.
    void click(int x, int y);
    /// Presses and releases the key.
    void key(xcb_keycode_t keycode);
    /// Returns once the server has handled everything sent so far.
    void sync();

private:
    void fake(uint8_t type, uint8_t detail, int x = 0, int y = 0);

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
};

} // namespace velmora::bench
