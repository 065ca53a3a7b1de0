#include "support/CoverProbe.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <stdexcept>
#include <vector>

namespace velmora::bench {
namespace {

// Once a cover is mapped its pixels are looked at this often; the map itself wakes the
// probe at once.
constexpr std::chrono::microseconds kPixelPollInterval{250};
constexpr uint32_t kPagerSource = 2;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace

CoverProbe::CoverProbe(const std::string& display, int coverOwner)
    : connection_(xcb_connect(display.c_str(), nullptr)), coverOwner_(coverOwner) {
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("cannot connect to the X server " + display);
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    activeWindowAtom_ = internAtom(connection_, "_NET_ACTIVE_WINDOW");
    restackAtom_ = internAtom(connection_, "_NET_RESTACK_WINDOW");
    pidAtom_ = internAtom(connection_, "_NET_WM_PID");
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

CoverProbe::~CoverProbe() {
    xcb_disconnect(connection_);
}

xcb_window_t CoverProbe::activeWindow() {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, root_, activeWindowAtom_, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) != 4) {
        return XCB_WINDOW_NONE;
    }
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

void CoverProbe::discardEvents() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        noteMove(*event);
        std::free(event);
    }
}

void CoverProbe::noteMove(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7f) != XCB_CONFIGURE_NOTIFY) {
        return;
    }
    const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
    if (const auto known = windows_.find(configure.window); known != windows_.end()) {
        const int border = 2 * configure.border_width;
        known->second.bounds = {configure.x, configure.y, configure.width + border,
                                configure.height + border};
    }
}

void CoverProbe::activate(xcb_window_t window) {
    sendAsPager(window, activeWindowAtom_, XCB_CURRENT_TIME, 0);
}

void CoverProbe::restack(xcb_window_t window, bool toTop) {
    // No sibling: Above goes to the top, Below to the bottom.
    sendAsPager(window, restackAtom_, XCB_WINDOW_NONE,
                toTop ? XCB_STACK_MODE_ABOVE : XCB_STACK_MODE_BELOW);
}

int CoverProbe::takeManagedConfigures() {
    int configures = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const auto& configure = *reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (event->response_type == XCB_CONFIGURE_NOTIFY && !configure.override_redirect) {
            ++configures;
        }
        std::free(event);
    }
    return configures;
}

void CoverProbe::sendAsPager(xcb_window_t window, xcb_atom_t request, uint32_t first,
                             uint32_t second) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    message.data.data32[0] = kPagerSource;
    message.data.data32[1] = first;
    message.data.data32[2] = second;
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

bool CoverProbe::isCoverOver(xcb_window_t window, const e2e::ScreenRect& frame) {
    auto known = windows_.find(window);
    if (known == windows_.end()) {
        known = windows_.emplace(window, describe(window)).first;
    }
    return known->second.ownedByCoverOwner && known->second.bounds.contains(frame);
}

CoverProbe::KnownWindow CoverProbe::describe(xcb_window_t window) {
    const auto geometryCookie = xcb_get_geometry(connection_, window);
    const auto pidCookie =
        xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1);
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, geometryCookie, nullptr));
    Reply<xcb_get_property_reply_t> pid(xcb_get_property_reply(connection_, pidCookie, nullptr));
    if (!geometry || !pid || xcb_get_property_value_length(pid.get()) != 4) {
        return {};
    }
    // Override-redirect windows are children of the root: their position is in root
    // coordinates.
    const int border = 2 * geometry->border_width;
    const auto owner = *static_cast<const uint32_t*>(xcb_get_property_value(pid.get()));
    return {{geometry->x, geometry->y, geometry->width + border, geometry->height + border},
            static_cast<int>(owner) == coverOwner_};
}

std::optional<std::vector<CoverProbe::Milliseconds>>
CoverProbe::activateAndTime(xcb_window_t window, const e2e::ScreenRect& frame,
                            const std::vector<std::function<bool()>>& stages,
                            std::chrono::milliseconds timeout) {
    discardEvents();
    activation_.reset();
    const auto sent = Clock::now();
    activate(window);
    const auto deadline = sent + timeout;
    std::vector<xcb_window_t> mapped;
    bool covering = false;
    std::vector<Milliseconds> times;
    while (Clock::now() < deadline) {
        bool changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
                if (map->override_redirect) {
                    mapped.push_back(map->window);
                    changed = true;
                }
            } else if (type == XCB_UNMAP_NOTIFY) {
                std::erase(mapped,
                           reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window);
                changed = true;
            } else if (type == XCB_CONFIGURE_NOTIFY) {
                noteMove(*event);
                // A cover may be mapped first and moved over the window afterwards.
                changed = changed || !mapped.empty();
            } else if (type == XCB_PROPERTY_NOTIFY && !activation_ &&
                       reinterpret_cast<const xcb_property_notify_event_t*>(event)->atom ==
                           activeWindowAtom_) {
                // Heard now; the value read after it tells whether it names our window.
                const auto heard = Clock::now();
                if (activeWindow() == window) {
                    activation_ = heard - sent;
                }
            }
            std::free(event);
        }
        if (changed) {
            covering = false;
            for (const xcb_window_t candidate : mapped) {
                covering = covering || isCoverOver(candidate, frame);
            }
        }
        while (covering && times.size() < stages.size() && stages[times.size()]()) {
            times.push_back(Clock::now() - sent);
        }
        if (covering && times.size() == stages.size()) {
            return times;
        }
        // Events wake the wait at once; pixels are looked at again after a short interval.
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
        const auto wait =
            covering ? std::min<std::chrono::nanoseconds>(kPixelPollInterval, left) : left;
        if (wait.count() <= 0) {
            break;
        }
        const timespec interval{static_cast<time_t>(wait.count() / 1'000'000'000),
                                static_cast<long>(wait.count() % 1'000'000'000)};
        pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
        ppoll(&readable, 1, &interval, nullptr);
    }
    return std::nullopt;
}

std::vector<xcb_window_t> CoverProbe::mappedOverrideRedirect() {
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    std::vector<xcb_window_t> mapped;
    if (!tree) {
        return mapped;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int index = 0; index < xcb_query_tree_children_length(tree.get()); ++index) {
        Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[index]), nullptr));
        if (attributes && attributes->override_redirect &&
            attributes->map_state != XCB_MAP_STATE_UNMAPPED) {
            mapped.push_back(children[index]);
        }
    }
    return mapped;
}

bool CoverProbe::waitForEvent(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
        return false;
    }
    pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
    return ::poll(&readable, 1, static_cast<int>(left.count())) > 0;
}

std::optional<CoverProbe::Milliseconds>
CoverProbe::requestAndTimeCovering(const std::function<void()>& request,
                                   const std::vector<TopLevel>& topLevels,
                                   std::chrono::milliseconds timeout) {
    discardEvents();
    std::vector<xcb_window_t> covers = mappedOverrideRedirect();
    std::vector<xcb_window_t> unmapped;
    const auto sent = Clock::now();
    request();
    const auto deadline = sent + timeout;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
                if (map->override_redirect) {
                    covers.push_back(map->window);
                }
                std::erase(unmapped, map->window);
            } else if (type == XCB_UNMAP_NOTIFY) {
                const auto window =
                    reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window;
                std::erase(covers, window);
                unmapped.push_back(window);
            } else {
                noteMove(*event);
            }
            std::free(event);
        }
        const bool allCovered =
            std::all_of(topLevels.begin(), topLevels.end(), [&](const TopLevel& top) {
                return std::find(unmapped.begin(), unmapped.end(), top.window) != unmapped.end() ||
                       std::any_of(covers.begin(), covers.end(), [&](xcb_window_t cover) {
                           return isCoverOver(cover, top.bounds);
                       });
            });
        if (allCovered) {
            return Clock::now() - sent;
        }
        if (!waitForEvent(deadline)) {
            return std::nullopt;
        }
    }
}

} // namespace velmora::bench
