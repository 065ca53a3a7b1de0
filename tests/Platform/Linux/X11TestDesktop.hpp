#pragma once

#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Support/RecordingLogger.hpp"
#include "Support/Rect.hpp"
#include "Ui/QtRunLoop.hpp"
#include "X11Testing/XvfbServer.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

/// A private X server with the pieces every backend test needs: the run loop, Velmora's
/// connection and client list, a recording logger, and a second connection through which
/// the test looks at the server. Any change it watches wakes `waitUntil`.
struct X11TestDesktop {
    explicit X11TestDesktop(XvfbServer::Options options = {.windowManager = true});

    /// Property and structure changes of `window` wake the event loop from now on.
    void watch(uint32_t window);
    /// ICCCM WM_STATE (1 normal, 3 iconic), absent when not set.
    std::optional<uint32_t> wmState(uint32_t window);
    /// `_NET_ACTIVE_WINDOW` of the root.
    std::optional<uint32_t> activeWindow();
    /// The window's top-level ancestor under the root (the manager's frame) in root
    /// coordinates, border included.
    Rect frameOf(uint32_t window);
    /// Returns once the server has handled everything the observer sent.
    void sync();
    /// A top-level window of this test process itself, mapped.
    uint32_t createOwnWindow();
    /// Runs xdotool with `arguments` against this server; its exit status.
    int xdotool(std::vector<std::string> arguments) const;

    XvfbServer server;
    std::shared_ptr<QtRunLoop> runLoop = std::make_shared<QtRunLoop>();
    std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();
    std::shared_ptr<XcbConnection> connection;
    std::shared_ptr<X11ClientList> clients;
    /// The test's own view of the server.
    std::shared_ptr<XcbConnection> observer;

private:
    std::optional<uint32_t> cardinal(uint32_t window, xcb_atom_t property, xcb_atom_t type);
    Subscription drain_;
};

} // namespace velmora::testing
