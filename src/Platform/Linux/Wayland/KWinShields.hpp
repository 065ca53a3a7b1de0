#pragma once

#include "Platform/Linux/Wayland/CompositorBridge.hpp"

#include <map>
#include <memory>
#include <optional>
#include <set>

namespace velmora {

/// Velmora's covers and cards on KWin ("shields"): each is an ordinary window of Velmora's
/// whose title is its token, placed by the KWin script over the window it shields. A shield
/// is never unmapped while Velmora runs, only parked, so that the script can tell Velmora's
/// end from a shield put away. The window a shield covered stays locked until its last
/// shield goes while it is still on screen: that is an unlock, whereas a window minimized or
/// moved to another desktop stays locked until it is shielded again and then let go.
///
///     KWinShields shields(bridge);
///     const QString token = shields.newToken();       // the title of a new cover window
///     shields.place(token, entry.number, frame, false);
///     shields.park(token);
class KWinShields {
public:
    explicit KWinShields(std::shared_ptr<CompositorBridge> bridge);
    ~KWinShields();
    KWinShields(const KWinShields&) = delete;
    KWinShields& operator=(const KWinShields&) = delete;

    [[nodiscard]] QString newToken();
    /// `frame` in the compositor's coordinates; `over` absent shields no window.
    void place(const QString& token, std::optional<WindowNumber> over, Rect frame, bool card);
    void park(const QString& token);
    /// The window the shield titled `token` is placed over.
    [[nodiscard]] std::optional<WindowNumber> placedOver(const QString& token) const;

private:
    void releaseUnshielded();

    std::shared_ptr<CompositorBridge> bridge_;
    int nextToken_ = 1;
    std::map<QString, std::optional<WindowNumber>> placed_;
    std::set<WindowNumber> unshielded_;
};

} // namespace velmora
