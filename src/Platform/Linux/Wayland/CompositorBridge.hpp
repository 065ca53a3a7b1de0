#pragma once

#include "Platform/Linux/Wayland/KWinProtocol.hpp"
#include "Support/Signal.hpp"

#include <QVariantMap>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace velmora {

/// What Velmora knows of a Wayland compositor's windows and how it asks the compositor to
/// place, hide and lock them, whichever compositor it is: KWin through Velmora's script, sway
/// through its IPC. The windows and commands are those of the KWin script's protocol, which
/// every bridge speaks.
///
///     Subscription s = bridge->observeWindows([&] { look(bridge->windows()); });
///     bridge->send(kwin::hide(number));
class CompositorBridge {
public:
    virtual ~CompositorBridge() = default;

    [[nodiscard]] const std::map<WindowNumber, kwin::Window>& windows() const { return windows_; }
    [[nodiscard]] const kwin::Window* window(WindowNumber number) const {
        const auto found = windows_.find(number);
        return found == windows_.end() ? nullptr : &found->second;
    }
    [[nodiscard]] std::optional<WindowNumber> activeWindow() const { return active_; }
    /// Velmora asked to hide the window and the compositor has not yet reported it hidden.
    [[nodiscard]] bool isBeingHidden(WindowNumber number) const {
        return beingHidden_.contains(number);
    }

    /// After the windows changed (appeared, moved, restacked, closed).
    [[nodiscard]] Subscription observeWindows(std::function<void()> handler) {
        return windowsChanged_.connect(std::move(handler));
    }
    /// After another window became active (or none), once the windows are up to date.
    [[nodiscard]] Subscription observeActivation(std::function<void()> handler) {
        return activated_.connect(std::move(handler));
    }
    /// The compositor is gone.
    [[nodiscard]] Subscription observeLost(std::function<void()> handler) {
        return lost_.connect(std::move(handler));
    }
    /// Runs just before the commands of a turn go out, to add the last ones.
    void setBeforeSending(std::function<void()> beforeSending) {
        beforeSending_ = std::move(beforeSending);
    }
    /// Queues a command; the commands of one turn reach the compositor together, in order.
    virtual void send(QVariantMap command) = 0;
    /// Releases every window: Velmora quits.
    virtual void shutDown() = 0;

protected:
    std::map<WindowNumber, kwin::Window> windows_;
    std::optional<WindowNumber> active_;
    std::set<WindowNumber> beingHidden_;
    std::function<void()> beforeSending_;
    Signal<> windowsChanged_;
    Signal<> activated_;
    Signal<> lost_;
};

} // namespace velmora
