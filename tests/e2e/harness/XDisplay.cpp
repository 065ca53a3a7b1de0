#include "harness/XDisplay.hpp"

#include "Platform/Linux/X11WindowManagerCalls.hpp"
#include "harness/Command.hpp"
#include "harness/Eventually.hpp"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace velmora::e2e {
namespace {

// Frames of the window managers we use hold the application's window one or two levels down.
constexpr int kFrameDepth = 3;

XcbReply<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window,
                                            xcb_atom_t name, std::uint32_t words) {
    return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr));
}

// Bottom to top.
std::vector<xcb_window_t> children(xcb_connection_t* connection, xcb_window_t window) {
    XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
}

} // namespace

XDisplay::XDisplay(const std::string& name) : connection_(xcb_connect(name.c_str(), nullptr)) {
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("cannot connect to the X server " + name);
    }
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    wmStateAtom_ = atom("WM_STATE");
    netWmNameAtom_ = atom("_NET_WM_NAME");
    netWmPidAtom_ = atom("_NET_WM_PID");
}

XDisplay::~XDisplay() {
    xcb_disconnect(connection_);
}

xcb_atom_t XDisplay::atom(const char* name) {
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<std::string> XDisplay::stringProperty(xcb_window_t window, xcb_atom_t name) {
    const auto reply = property(connection_, window, name, 1024);
    if (!reply || reply->format != 8) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::optional<std::uint32_t> XDisplay::cardinalProperty(xcb_window_t window, xcb_atom_t name) {
    const auto reply = property(connection_, window, name, 1);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
        return std::nullopt;
    }
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

std::vector<WindowInfo> XDisplay::windows() {
    const auto topLevels = children(connection_, screen_->root);
    std::vector<WindowInfo> found;
    for (std::size_t i = 0; i < topLevels.size(); ++i) {
        if (auto info = describe(topLevels[i], static_cast<int>(i))) {
            found.push_back(std::move(*info));
        }
    }
    return found;
}

std::optional<WindowInfo> XDisplay::find(const std::function<bool(const WindowInfo&)>& predicate) {
    const auto all = windows();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (predicate(*it)) {
            return *it;
        }
    }
    return std::nullopt;
}

std::optional<WindowInfo> XDisplay::waitFor(const std::function<bool(const WindowInfo&)>& predicate,
                                            std::chrono::milliseconds timeout) {
    std::optional<WindowInfo> found;
    eventually(
        [&] {
            found = find(predicate);
            return found.has_value();
        },
        timeout);
    return found;
}

std::optional<WindowInfo>
XDisplay::overlayOver(xcb_window_t covered, const std::function<bool(const WindowInfo&)>& isOwner) {
    const auto target = window(covered);
    if (!target || !target->viewable) {
        return std::nullopt;
    }
    return find([&](const WindowInfo& info) {
        return info.viewable && info.overrideRedirect && isOwner(info) &&
               info.frame.contains(target->frame) && info.stackingIndex > target->stackingIndex;
    });
}

std::optional<WindowInfo> XDisplay::window(xcb_window_t id) {
    return find([id](const WindowInfo& info) { return info.window == id; });
}

xcb_window_t XDisplay::clientWindow(xcb_window_t window, int depth) {
    if (cardinalProperty(window, wmStateAtom_)) {
        return window;
    }
    if (depth == 0) {
        return XCB_WINDOW_NONE;
    }
    for (const xcb_window_t child : children(connection_, window)) {
        if (const xcb_window_t client = clientWindow(child, depth - 1)) {
            return client;
        }
    }
    return XCB_WINDOW_NONE;
}

ScreenRect XDisplay::rootGeometry(xcb_window_t window) {
    const auto geometryCookie = xcb_get_geometry(connection_, window);
    const auto translateCookie =
        xcb_translate_coordinates(connection_, window, screen_->root, 0, 0);
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, geometryCookie, nullptr));
    XcbReply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(connection_, translateCookie, nullptr));
    if (!geometry || !origin) {
        return {};
    }
    return {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

std::optional<WindowInfo> XDisplay::describe(xcb_window_t topLevel, int stackingIndex) {
    XcbReply<xcb_get_window_attributes_reply_t> frameAttributes(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, topLevel), nullptr));
    if (!frameAttributes || frameAttributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY) {
        return std::nullopt;
    }
    WindowInfo info;
    info.topLevel = topLevel;
    info.stackingIndex = stackingIndex;
    info.frame = rootGeometry(topLevel);
    // i3 makes its frames override-redirect: a frame is one that holds a client.
    const xcb_window_t client = clientWindow(topLevel, kFrameDepth);
    info.overrideRedirect = frameAttributes->override_redirect != 0 && client == XCB_WINDOW_NONE;
    info.window = client != XCB_WINDOW_NONE ? client : topLevel;
    info.geometry = info.window == topLevel ? info.frame : rootGeometry(info.window);

    XcbReply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, info.window), nullptr));
    info.viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;

    if (auto wmClass = stringProperty(info.window, XCB_ATOM_WM_CLASS)) {
        const auto separator = wmClass->find('\0');
        info.instance = wmClass->substr(0, separator);
        if (separator != std::string::npos) {
            info.className = wmClass->substr(separator + 1);
            info.className = info.className.substr(0, info.className.find('\0'));
        }
    }
    const auto title = stringProperty(info.window, netWmNameAtom_);
    info.title = title ? *title : stringProperty(info.window, XCB_ATOM_WM_NAME).value_or("");
    if (auto pid = cardinalProperty(info.window, netWmPidAtom_)) {
        info.pid = static_cast<int>(*pid);
    }
    return info;
}

ScreenRect XDisplay::rootRect() const {
    return {0, 0, screen_->width_in_pixels, screen_->height_in_pixels};
}

Image XDisplay::capture(ScreenRect area) {
    area = area.intersection(rootRect());
    if (area.width == 0) {
        return Image(area, {});
    }
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root,
                      static_cast<std::int16_t>(area.x), static_cast<std::int16_t>(area.y),
                      static_cast<std::uint16_t>(area.width),
                      static_cast<std::uint16_t>(area.height), ~0u),
        &error));
    std::free(error);
    const std::size_t pixelCount = static_cast<std::size_t>(area.width) * area.height;
    if (!reply || reply->depth != 24 ||
        static_cast<std::size_t>(xcb_get_image_data_length(reply.get())) != pixelCount * 4) {
        throw std::runtime_error("expected a 24-bit screen stored in 32 bits per pixel");
    }
    // TrueColor 0xRRGGBB in host byte order, as Xvfb keeps a 24-bit screen.
    const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply.get()));
    std::vector<Rgb> pixels(pixelCount);
    for (std::size_t i = 0; i < pixelCount; ++i) {
        pixels[i] = Rgb::fromHex(data[i] & 0xffffff);
    }
    return Image(area, std::move(pixels));
}

bool XDisplay::selectionOwner(const char* name) {
    const XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, atom(name)), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

xcb_window_t XDisplay::inputFocus() {
    XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return reply ? reply->focus : xcb_window_t{XCB_WINDOW_NONE};
}

bool XDisplay::isWithin(xcb_window_t window, xcb_window_t ancestor) {
    while (window != XCB_WINDOW_NONE && window != screen_->root) {
        if (window == ancestor) {
            return true;
        }
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
        if (!tree) {
            return false;
        }
        window = tree->parent;
    }
    return false;
}

void XDisplay::sendMessage(xcb_window_t window, const char* type) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(type);
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

std::optional<std::uint32_t> XDisplay::wmState(xcb_window_t window) {
    return cardinalProperty(window, wmStateAtom_);
}

void XDisplay::saveScreenshot(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    // Appended, not replaced: test names hold dots.
    const std::string ppm = path.string() + ".ppm";
    capture(rootRect()).writePpm(ppm);
    runCommand({"convert", ppm, path.string() + ".png"}, {});
}

} // namespace velmora::e2e
