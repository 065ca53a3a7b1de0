#pragma once

#include "Platform/Linux/Wayland/KWinProtocol.hpp"
#include "Support/Signal.hpp"

#include <QVariantMap>
#include <functional>
#include <map>
#include <optional>

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

    [[nodiscard]] virtual const std::map<WindowNumber, kwin::Window>& windows() const = 0;
    [[nodiscard]] const kwin::Window* window(WindowNumber number) const {
        const auto found = windows().find(number);
        return found == windows().end() ? nullptr : &found->second;
    }
    [[nodiscard]] virtual std::optional<WindowNumber> activeWindow() const = 0;
    /// Velmora asked to hide the window and the compositor has not yet reported it hidden.
    [[nodiscard]] virtual bool isBeingHidden(WindowNumber number) const = 0;

    /// After the windows changed (appeared, moved, restacked, closed).
    [[nodiscard]] virtual Subscription observeWindows(std::function<void()> handler) = 0;
    /// After another window became active (or none), once the windows are up to date.
    [[nodiscard]] virtual Subscription observeActivation(std::function<void()> handler) = 0;
    /// The compositor is gone.
    [[nodiscard]] virtual Subscription observeLost(std::function<void()> handler) = 0;
    /// Runs just before the commands of a turn go out, to add the last ones.
    virtual void setBeforeSending(std::function<void()> beforeSending) = 0;
    /// Queues a command; the commands of one turn reach the compositor together, in order.
    virtual void send(QVariantMap command) = 0;
    /// Releases every window: Velmora quits.
    virtual void shutDown() = 0;
};

} // namespace velmora
