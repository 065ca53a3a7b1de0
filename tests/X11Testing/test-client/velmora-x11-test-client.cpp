// A stand-in application for the tests: one top-level window with the properties the command
// line asks for, kept until the process is killed or the server goes.
//
//     velmora-x11-test-client --class term,XTerm --gtk-id org.example.Term --ready-fd 5
//
// It writes the window's id ("0x…\n") to the ready descriptor once the window is mapped.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

struct Options {
    std::string instance = "test-client";
    std::string windowClass = "TestClient";
    std::optional<std::string> gtkApplicationId;
    std::optional<std::string> kdeDesktopFile;
    std::optional<long> pid = static_cast<long>(getpid());
    std::optional<std::string> windowType;
    std::vector<std::string> states;
    int x = 100, y = 100, width = 300, height = 200;
    int readyFd = -1;
    bool overrideRedirect = false;
};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: velmora-x11-test-client [--class INSTANCE,CLASS] [--gtk-id ID] "
                         "[--kde-desktop-file ID] [--pid N | --no-pid] [--type TYPE] "
                         "[--state STATE]... [--geometry WxH+X+Y] [--override-redirect] "
                         "[--ready-fd FD]\n");
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                usage();
            }
            return argv[++i];
        };
        if (arg == "--class") {
            const std::string both = value();
            const auto comma = both.find(',');
            if (comma == std::string::npos) {
                usage();
            }
            options.instance = both.substr(0, comma);
            options.windowClass = both.substr(comma + 1);
        } else if (arg == "--gtk-id") {
            options.gtkApplicationId = value();
        } else if (arg == "--kde-desktop-file") {
            options.kdeDesktopFile = value();
        } else if (arg == "--pid") {
            options.pid = std::stol(value());
        } else if (arg == "--no-pid") {
            options.pid.reset();
        } else if (arg == "--type") {
            options.windowType = "_NET_WM_WINDOW_TYPE_" + value();
        } else if (arg == "--state") {
            options.states.push_back("_NET_WM_STATE_" + value());
        } else if (arg == "--geometry") {
            if (std::sscanf(value().c_str(), "%dx%d+%d+%d", &options.width, &options.height,
                            &options.x, &options.y) != 4) {
                usage();
            }
        } else if (arg == "--override-redirect") {
            options.overrideRedirect = true;
        } else if (arg == "--ready-fd") {
            options.readyFd = std::stoi(value());
        } else {
            usage();
        }
    }
    return options;
}

xcb_atom_t atom(xcb_connection_t* c, const std::string& name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
}

void setString(xcb_connection_t* c, xcb_window_t w, const std::string& property,
               const std::string& text) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, property), atom(c, "UTF8_STRING"), 8,
                        static_cast<uint32_t>(text.size()), text.data());
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "velmora-x11-test-client: cannot connect to the X server\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    const uint32_t values[] = {screen->white_pixel, options.overrideRedirect ? 1u : 0u,
                               XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, static_cast<int16_t>(options.x),
                      static_cast<int16_t>(options.y), static_cast<uint16_t>(options.width),
                      static_cast<uint16_t>(options.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);

    std::string wmClass = options.instance + '\0' + options.windowClass + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(wmClass.size()), wmClass.data());
    setString(c, w, "_NET_WM_NAME", options.windowClass);
    // Placed where asked, not where the window manager would choose.
    const uint32_t hints[18] = {1u | 2u, 0, 0, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    if (options.gtkApplicationId) {
        setString(c, w, "_GTK_APPLICATION_ID", *options.gtkApplicationId);
    }
    if (options.kdeDesktopFile) {
        setString(c, w, "_KDE_NET_WM_DESKTOP_FILE", *options.kdeDesktopFile);
    }
    if (options.pid) {
        const auto pid = static_cast<uint32_t>(*options.pid);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL,
                            32, 1, &pid);
    }
    if (options.windowType) {
        const xcb_atom_t type = atom(c, *options.windowType);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 1, &type);
    }
    std::vector<xcb_atom_t> states;
    for (const auto& state : options.states) {
        states.push_back(atom(c, state));
    }
    if (!states.empty()) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM,
                            32, static_cast<uint32_t>(states.size()), states.data());
    }
    xcb_map_window(c, w);
    xcb_flush(c);

    bool announced = false;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if (!announced && (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
            options.readyFd != -1) {
            dprintf(options.readyFd, "0x%x\n", w);
            close(options.readyFd);
            announced = true;
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
