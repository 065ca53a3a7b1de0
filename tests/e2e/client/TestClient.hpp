#pragma once

#include "TestClientOptions.hpp"

#include <memory>
#include <set>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace velmora::e2e {

/// A plain X application for end-to-end tests: top-level windows (and optionally an
/// override-redirect popup) filled with one colour, logging the keys and buttons it receives.
/// A "VELMORA_TEST_OPEN_WINDOW" client message sent to any of its windows opens one more;
/// "VELMORA_TEST_OPEN_MENU" opens a menu that takes the keyboard and the pointer, as a
/// toolkit's menu does.
class TestClient {
public:
    static std::unique_ptr<TestClient> open(const TestClientOptions& options, std::string& error);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    /// Handles events until the last top-level window is closed (0) or the server goes away (1).
    int run();

private:
    struct Atoms {
        xcb_atom_t wmProtocols, wmDeleteWindow, wmTakeFocus, netWmPid, netWmName, utf8String,
            gtkApplicationId, openWindow, openMenu;
    };

    TestClient(const TestClientOptions& options, xcb_connection_t* connection);
    xcb_atom_t atom(const char* name);
    void createWindows();
    /// Another top-level window, placed after the last one, as an application opens one.
    void openAnotherWindow();
    /// An override-redirect window over the first top-level one, as a menu lies.
    xcb_window_t mapPopup();
    xcb_window_t createWindow(int x, int y, int width, int height, bool overrideRedirect);
    void describeTopLevel(xcb_window_t window, const std::string& title, int x, int y);
    void setStringProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                           const std::string& value);
    void handleClientMessage(const xcb_client_message_event_t& message);
    void noteMapped(xcb_window_t window);
    void writeReadyFile();
    void appendToLog(const std::string& line);
    [[nodiscard]] int windowIndex(xcb_window_t window) const;

    TestClientOptions options_;
    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
    Atoms atoms_{};
    std::uint32_t pixel_ = 0;
    /// Top-level windows in creation order, then the popup.
    std::vector<xcb_window_t> windows_;
    std::set<xcb_window_t> openTopLevels_;
    std::set<xcb_window_t> notYetMapped_;
    int logFd_ = -1;
};

} // namespace velmora::e2e
