#pragma once

#include "Platform/Linux/PlacementCoordinates.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Platform/Screens.hpp"

#include <memory>
#include <vector>

namespace velmora {

/// The monitors RandR reports (the root window as one screen when it reports none), with
/// frames in placement coordinates, kept up to date from RandR's change notifications.
///
///     X11Screens screens(connection);
///     for (const Screen& s : screens.screens()) { use(s.localizedName, s.frame); }
///     Rect placed = screens.coordinates().fromRoot(rootRect);
class X11Screens final : public ScreenProviding {
public:
    explicit X11Screens(std::shared_ptr<XcbConnection> connection);

    [[nodiscard]] std::vector<Screen> screens() const override { return screens_; }
    /// The monitor holding the centre of the active window, else the primary one.
    [[nodiscard]] std::optional<Screen> mainScreen() const override;
    /// Between root coordinates and placement coordinates, about the primary monitor.
    [[nodiscard]] PlacementCoordinates coordinates() const { return {primary_}; }

private:
    struct Monitor {
        std::string name;
        Rect root;
    };

    void refresh();
    std::vector<Monitor> readMonitors(std::size_t& primary);
    void handleEvent(const xcb_generic_event_t& event);

    std::shared_ptr<XcbConnection> connection_;
    uint8_t randrEventBase_ = 0;
    bool hasMonitors_ = false;
    std::vector<Monitor> monitors_;
    std::vector<Screen> screens_;
    Rect primary_;
    Subscription events_;
};

} // namespace velmora
