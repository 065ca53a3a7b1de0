#pragma once

namespace velmora {

/// Closes the program's window that has the keyboard, as the window's close button would.
///
///     windows.closeKeyWindow();   // nothing when no window of the program is key
class KeyWindowClosing {
public:
    virtual ~KeyWindowClosing() = default;
    virtual void closeKeyWindow() = 0;
};

} // namespace velmora
