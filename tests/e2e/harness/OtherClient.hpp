#pragma once

#include "harness/Image.hpp"
#include "harness/ScreenRect.hpp"

#include <string>
#include <xcb/xcb.h>

namespace velmora::e2e {

/// Another X client of the session, as a person's keyboard or a hostile program acts: types
/// through XTEST (many keys in one go, far faster than xdotool), holds the keyboard, maps
/// an override-redirect window of its own, and takes other clients' windows away.
class OtherClient {
public:
    /// Throws std::runtime_error when the server cannot be reached or has no XTEST.
    explicit OtherClient(const std::string& display);
    ~OtherClient();
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    /// Presses and releases a letter key `count` times, and waits until the server has
    /// handled every press.
    void pressKeys(int count);
    /// Takes the keyboard; false when another client holds it.
    bool grabKeyboard();
    void ungrabKeyboard();
    /// Another client holds the keyboard now (it is asked for and, if given, let go at once).
    bool keyboardHeldElsewhere();
    /// Maps an override-redirect window filled with `color` on top; answers its id.
    xcb_window_t mapPopup(const ScreenRect& area, Rgb color);
    /// Raises `window` to the top again.
    void raise(xcb_window_t window);
    /// What any client may do to another's window.
    enum class Takeaway { unmap, destroy, moveToTheBottom, reparent };
    void takeAway(xcb_window_t window, Takeaway how);

private:
    void sync();

    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
    xcb_keycode_t letter_ = 0;
};

} // namespace velmora::e2e
