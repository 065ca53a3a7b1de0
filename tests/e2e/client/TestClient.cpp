#include "TestClient.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb_icccm.h>

namespace velmora::e2e {
namespace {

constexpr int kWindowOffset = 30;
// Clear of a window manager's title bar.
constexpr int kPopupInset = 40;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

std::unique_ptr<TestClient> TestClient::open(const TestClientOptions& options, std::string& error) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        error = "cannot connect to the X server";
        return nullptr;
    }
    std::unique_ptr<TestClient> client(new TestClient(options, connection));
    if (options.logFile) {
        client->logFd_ = ::open(options.logFile->c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (client->logFd_ < 0) {
            error = "cannot open the log " + *options.logFile + ": " + std::strerror(errno);
            return nullptr;
        }
    }
    client->createWindows();
    return client;
}

TestClient::TestClient(const TestClientOptions& options, xcb_connection_t* connection)
    : options_(options), connection_(connection),
      screen_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data) {
    atoms_ = {atom("WM_PROTOCOLS"),          atom("WM_DELETE_WINDOW"),
              atom("WM_TAKE_FOCUS"),         atom("_NET_WM_PID"),
              atom("_NET_WM_NAME"),          atom("UTF8_STRING"),
              atom("_GTK_APPLICATION_ID"),   atom("VELMORA_TEST_OPEN_WINDOW"),
              atom("VELMORA_TEST_OPEN_MENU")};
    // Scale 8-bit components to the 16 bits the server expects.
    const auto component = [&](int shift) {
        return static_cast<std::uint16_t>(((options.rgb >> shift) & 0xff) * 0x101);
    };
    Reply<xcb_alloc_color_reply_t> color(
        xcb_alloc_color_reply(connection_,
                              xcb_alloc_color(connection_, screen_->default_colormap, component(16),
                                              component(8), component(0)),
                              nullptr));
    pixel_ = color ? color->pixel : screen_->white_pixel;
}

TestClient::~TestClient() {
    if (logFd_ >= 0) {
        ::close(logFd_);
    }
    xcb_disconnect(connection_);
}

xcb_atom_t TestClient::atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void TestClient::createWindows() {
    for (int i = 0; i < options_.windows; ++i) {
        const int x = options_.x + i * kWindowOffset;
        const int y = options_.y + i * kWindowOffset;
        const xcb_window_t window =
            createWindow(x, y, options_.width, options_.height, options_.overrideRedirect);
        const std::string title =
            options_.windows == 1 ? options_.title : options_.title + " " + std::to_string(i + 1);
        describeTopLevel(window, title, x, y);
        if (options_.transient && !windows_.empty()) {
            xcb_icccm_set_wm_transient_for(connection_, window, windows_.front());
        }
        windows_.push_back(window);
    }
    openTopLevels_.insert(windows_.begin(), windows_.end());
    for (xcb_window_t window : windows_) {
        xcb_map_window(connection_, window);
    }
    if (options_.popup) {
        mapPopup();
    }
    notYetMapped_.insert(windows_.begin(), windows_.end());
    xcb_flush(connection_);
}

xcb_window_t TestClient::createWindow(int x, int y, int width, int height, bool overrideRedirect) {
    const xcb_window_t window = xcb_generate_id(connection_);
    const std::uint32_t values[] = {pixel_, overrideRedirect ? 1u : 0u,
                                    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_KEY_PRESS |
                                        XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_FOCUS_CHANGE};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen_->root,
                      static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    return window;
}

void TestClient::describeTopLevel(xcb_window_t window, const std::string& title, int x, int y) {
    std::string wmClass = options_.wmInstance;
    wmClass.push_back('\0');
    wmClass += options_.wmClass;
    wmClass.push_back('\0');
    setStringProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass);
    setStringProperty(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
    setStringProperty(window, atoms_.netWmName, atoms_.utf8String, title);
    if (options_.appId) {
        setStringProperty(window, atoms_.gtkApplicationId, atoms_.utf8String, *options_.appId);
    }

    char host[256] = {};
    gethostname(host, sizeof host - 1);
    setStringProperty(window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, host);
    if (!options_.noPid) {
        const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atoms_.netWmPid,
                            XCB_ATOM_CARDINAL, 32, 1, &pid);
    }
    if (options_.windowType) {
        const xcb_atom_t type = atom(("_NET_WM_WINDOW_TYPE_" + *options_.windowType).c_str());
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 1, &type);
    }
    std::vector<xcb_atom_t> states;
    for (const auto& state : options_.states) {
        states.push_back(atom(("_NET_WM_STATE_" + state).c_str()));
    }
    if (!states.empty()) {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_STATE"),
                            XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(states.size()),
                            states.data());
    }

    xcb_atom_t protocols[] = {atoms_.wmDeleteWindow, atoms_.wmTakeFocus};
    xcb_icccm_set_wm_protocols(connection_, window, atoms_.wmProtocols, 2, protocols);

    xcb_icccm_wm_hints_t hints{};
    xcb_icccm_wm_hints_set_input(&hints, 1);
    xcb_icccm_wm_hints_set_normal(&hints);
    xcb_icccm_set_wm_hints(connection_, window, &hints);

    // User-specified position and size, so the window manager keeps the requested geometry.
    xcb_size_hints_t size{};
    xcb_icccm_size_hints_set_position(&size, 1, x, y);
    xcb_icccm_size_hints_set_size(&size, 1, options_.width, options_.height);
    xcb_icccm_set_wm_normal_hints(connection_, window, &size);
}

void TestClient::setStringProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                   const std::string& value) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<std::uint32_t>(value.size()), value.data());
}

int TestClient::run() {
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection_)) {
        Reply<xcb_generic_event_t> event(raw);
        switch (event->response_type & ~0x80) {
        case XCB_MAP_NOTIFY:
            // Mapped, not exposed: a locked window is covered before it is ever exposed.
            noteMapped(reinterpret_cast<xcb_map_notify_event_t*>(raw)->window);
            break;
        case XCB_KEY_PRESS: {
            const auto* key = reinterpret_cast<xcb_key_press_event_t*>(raw);
            appendToLog("key " + std::to_string(key->detail));
            break;
        }
        case XCB_BUTTON_PRESS: {
            const auto* button = reinterpret_cast<xcb_button_press_event_t*>(raw);
            appendToLog("button " + std::to_string(button->detail) + " window " +
                        std::to_string(windowIndex(button->event)));
            break;
        }
        case XCB_CLIENT_MESSAGE:
            handleClientMessage(*reinterpret_cast<xcb_client_message_event_t*>(raw));
            if (openTopLevels_.empty()) {
                return 0;
            }
            break;
        default:
            break;
        }
    }
    return 1;
}

void TestClient::openAnotherWindow() {
    const int index = static_cast<int>(openTopLevels_.size());
    const int x = options_.x + index * kWindowOffset;
    const int y = options_.y + index * kWindowOffset;
    const xcb_window_t window = createWindow(x, y, options_.width, options_.height, false);
    describeTopLevel(window, options_.title + " " + std::to_string(index + 1), x, y);
    windows_.push_back(window);
    openTopLevels_.insert(window);
    xcb_map_window(connection_, window);
    xcb_flush(connection_);
}

xcb_window_t TestClient::mapPopup() {
    // Half beyond the first window's right edge, as a menu may be: what covers that window
    // does not cover all of it.
    const xcb_window_t popup =
        createWindow(options_.x + options_.width / 2, options_.y + kPopupInset, options_.width,
                     std::max(1, options_.height / 2), true);
    windows_.push_back(popup);
    xcb_map_window(connection_, popup);
    return popup;
}

void TestClient::handleClientMessage(const xcb_client_message_event_t& message) {
    if (message.type == atoms_.openWindow) {
        openAnotherWindow();
        return;
    }
    if (message.type == atoms_.openMenu) {
        // An override-redirect window is mapped at once, so it is viewable for the grabs.
        const xcb_window_t menu = mapPopup();
        xcb_grab_keyboard(connection_, 0, menu, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                          XCB_GRAB_MODE_ASYNC);
        xcb_grab_pointer(connection_, 0, menu, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE, XCB_CURSOR_NONE, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        return;
    }
    if (message.type != atoms_.wmProtocols || message.format != 32) {
        return;
    }
    const xcb_atom_t protocol = message.data.data32[0];
    if (protocol == atoms_.wmTakeFocus) {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, message.window,
                            message.data.data32[1]);
    } else if (protocol == atoms_.wmDeleteWindow && openTopLevels_.erase(message.window) > 0) {
        xcb_destroy_window(connection_, message.window);
    }
    xcb_flush(connection_);
}

void TestClient::noteMapped(xcb_window_t window) {
    if (notYetMapped_.erase(window) > 0 && notYetMapped_.empty()) {
        writeReadyFile();
    }
}

void TestClient::writeReadyFile() {
    if (!options_.readyFile) {
        return;
    }
    // Written under another name and renamed, so a reader never sees a partial file. It
    // holds the first window's id.
    const std::string temporary = *options_.readyFile + ".tmp";
    if (FILE* file = std::fopen(temporary.c_str(), "w")) {
        std::fprintf(file, "0x%x\n", static_cast<unsigned>(windows_.front()));
        std::fclose(file);
        std::rename(temporary.c_str(), options_.readyFile->c_str());
    }
}

void TestClient::appendToLog(const std::string& line) {
    if (logFd_ < 0) {
        return;
    }
    const std::string text = line + "\n";
    // One write per line on an O_APPEND descriptor: readers never see half a line.
    [[maybe_unused]] const ssize_t written = ::write(logFd_, text.data(), text.size());
}

int TestClient::windowIndex(xcb_window_t window) const {
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    return found == windows_.end() ? -1 : static_cast<int>(found - windows_.begin());
}

} // namespace velmora::e2e
