// A pointer for a compositor with no input devices (a headless sway): one virtual pointer for
// as long as it runs, so that clients see a pointer from their start, clicking at the points
// written to the named pipe it reads ("x y" a line, in the output's pixels).
//
//     velmora-virtual-pointer /tmp/pointer.fifo 1280 720 &
//     echo "640 360" > /tmp/pointer.fifo
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <linux/input-event-codes.h>
#include <string>
#include <wayland-client.h>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void removed(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{announced, removed};

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: velmora-virtual-pointer FIFO WIDTH HEIGHT\n");
        return 2;
    }
    const auto width = static_cast<std::uint32_t>(std::atoi(argv[2]));
    const auto height = static_cast<std::uint32_t>(std::atoi(argv[3]));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "velmora-virtual-pointer: no Wayland display\n");
        return 1;
    }
    Globals globals;
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.manager) {
        std::fprintf(stderr, "velmora-virtual-pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    wl_display_roundtrip(display);
    std::uint32_t time = 0;
    // Reopened after each writer: every click is written by a writer of its own.
    for (;;) {
        std::ifstream fifo(argv[1]);
        unsigned x = 0;
        unsigned y = 0;
        while (fifo >> x >> y) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, ++time, x, y, width, height);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, ++time, BTN_LEFT,
                                           WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, ++time, BTN_LEFT,
                                           WL_POINTER_BUTTON_STATE_RELEASED);
            zwlr_virtual_pointer_v1_frame(pointer);
            if (wl_display_roundtrip(display) < 0) {
                return 1;
            }
        }
        if (!fifo.eof() && fifo.fail() && !fifo.bad()) {
            return 2;
        }
    }
}
