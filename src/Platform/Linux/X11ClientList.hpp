#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Support/Logging.hpp"
#include "Support/ProcessId.hpp"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace velmora {

/// The windows the window manager manages (`_NET_CLIENT_LIST`), each with its owning process
/// and what it says about its application, kept up to date from the root window's property
/// changes so that questions are answered without asking the server again.
///
///     X11ClientList clients(connection, logger);
///     Subscription s = clients.observeChanges([&] { refreshApplications(); });
///     for (const auto& client : clients.clients()) { use(client.pid, client.identity); }
///     std::optional<ProcessId> owner = clients.ownerOf(frameOrChildWindow);
class X11ClientList {
public:
    struct Client {
        xcb_window_t window = XCB_WINDOW_NONE;
        /// Absent when neither the server nor the window names its process.
        std::optional<ProcessId> pid;
        WindowIdentity identity;
        /// `_NET_WM_WINDOW_TYPE_NORMAL`, or no type at all.
        bool isNormal = true;
    };

    X11ClientList(std::shared_ptr<XcbConnection> connection, std::shared_ptr<Logging> logger);

    /// In `_NET_CLIENT_LIST` order (mapping order).
    [[nodiscard]] const std::vector<Client>& clients() const { return clients_; }
    [[nodiscard]] const Client* client(xcb_window_t window) const;
    /// The process owning the managed window that `window` is, lies in or holds (a window
    /// manager's frame). Remembered until the client list changes.
    [[nodiscard]] std::optional<ProcessId> ownerOf(xcb_window_t window);
    /// The process of the client that made `window`, whether managed or not (an
    /// override-redirect menu), asked of the server each time.
    [[nodiscard]] std::optional<ProcessId> creatorOf(xcb_window_t window);
    /// Reads the list again now, e.g. when a window unknown to it became active.
    void refresh();

    /// After the list changed; called from the event dispatch, on the main thread.
    [[nodiscard]] Subscription observeChanges(std::function<void()> handler) {
        return changed_.connect(std::move(handler));
    }

private:
    void reload(bool changedAlready);
    void handleEvent(const xcb_generic_event_t& event);
    /// Absent for windows that no longer exist.
    std::vector<std::optional<Client>> fetchClients(const std::vector<xcb_window_t>& windows);
    std::optional<ProcessId> searchOwner(xcb_window_t window);

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<Logging> logger_;
    bool hasResourceExtension_ = false;
    std::vector<Client> clients_;
    std::unordered_map<xcb_window_t, std::size_t> index_;
    std::unordered_map<xcb_window_t, std::optional<ProcessId>> owners_;
    Signal<> changed_;
    Subscription events_;
};

} // namespace velmora
