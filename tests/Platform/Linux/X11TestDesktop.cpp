#include "X11TestDesktop.hpp"

#include <stdexcept>

namespace velmora::testing {

X11TestDesktop::X11TestDesktop(XvfbServer::Options options) : server(std::move(options)) {
    connection = XcbConnection::open(server.display(), runLoop);
    observer = XcbConnection::open(server.display(), runLoop);
    if (!connection || !observer) {
        throw std::runtime_error("cannot connect to " + server.display());
    }
    clients = std::make_shared<X11ClientList>(connection, logger);
    observer->selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    drain_ = observer->observeEvents([](const xcb_generic_event_t&) {});
}

void X11TestDesktop::watch(uint32_t window) {
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(observer->get(), window, XCB_CW_EVENT_MASK, &mask);
    observer->flush();
}

Rect X11TestDesktop::frameOf(uint32_t window) {
    xcb_connection_t* c = observer->get();
    for (;;) {
        const auto tree = observer->reply(xcb_query_tree_reply, xcb_query_tree(c, window));
        if (!tree || tree->parent == tree->root) {
            break;
        }
        window = tree->parent;
    }
    const auto geometry = observer->reply(xcb_get_geometry_reply, xcb_get_geometry(c, window));
    if (!geometry) {
        return {};
    }
    const double border = 2.0 * geometry->border_width;
    return {static_cast<double>(geometry->x), static_cast<double>(geometry->y),
            geometry->width + border, geometry->height + border};
}

void X11TestDesktop::sync() {
    observer->reply(xcb_get_input_focus_reply, xcb_get_input_focus(observer->get()));
}

std::optional<uint32_t> X11TestDesktop::wmState(uint32_t window) {
    const xcb_atom_t state = observer->atom("WM_STATE");
    return cardinal(window, state, state);
}

std::optional<uint32_t> X11TestDesktop::activeWindow() {
    return cardinal(observer->root(), observer->ewmh()->_NET_ACTIVE_WINDOW, XCB_ATOM_WINDOW);
}

uint32_t X11TestDesktop::createOwnWindow() {
    xcb_connection_t* c = observer->get();
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, observer->root(), 50, 50, 200, 150, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, observer->screen().root_visual, 0, nullptr);
    const char wmClass[] = "velmora\0Velmora";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        sizeof wmClass, wmClass);
    xcb_map_window(c, window);
    watch(window);
    return window;
}

int X11TestDesktop::xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    return runCommand(std::move(arguments), server.environment());
}

std::optional<uint32_t> X11TestDesktop::cardinal(uint32_t window, xcb_atom_t property,
                                                 xcb_atom_t type) {
    const auto reply = observer->reply(
        xcb_get_property_reply, xcb_get_property(observer->get(), 0, window, property, type, 0, 1));
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) {
        return std::nullopt;
    }
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
}

} // namespace velmora::testing
