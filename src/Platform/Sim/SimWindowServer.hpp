#pragma once

#include "Platform/WindowList.hpp"
#include "Support/Rect.hpp"
#include "Support/Signal.hpp"

#include <cstddef>
#include <functional>
#include <vector>

namespace velmora {

/// The simulated window server: application windows in front-to-back order.
///
///     SimWindowServer windows;
///     windows.addWindow(42, 100, 50, 800, 600);   // in front of earlier windows
///     windows.moveWindow(42, {100, 50, 800, 600}, {300, 50, 800, 600});
///     windows.removeWindowsOf(42);
class SimWindowServer final : public WindowListProviding {
public:
    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;
    [[nodiscard]] Subscription observeChanges(std::function<void()> onChange) override;

    /// Puts a window of `pid` in front of every window so far.
    void addWindow(ProcessId pid, double x, double y, double width, double height, int layer = 0);
    /// Puts any entry, including malformed ones, in front.
    void addEntry(WindowListEntry entry);
    /// Gives the frontmost window of `pid` with bounds `from` the bounds `to`, keeping its
    /// place in the order. False when there is no such window.
    bool moveWindow(ProcessId pid, Rect from, Rect to);
    /// Takes the frontmost window of `pid` with bounds `frame` off the screen, as when it is
    /// closed or moved to another desktop. False when there is no such window.
    bool removeWindow(ProcessId pid, Rect frame);
    void removeWindowsOf(ProcessId pid);
    /// Leaves the windows of the processes `isHidden` names out of the list, as the system
    /// does for a hidden application's windows.
    void setHiddenProcesses(std::function<bool(ProcessId)> isHidden);
    /// While set, the window server gives no list.
    void setUnavailable(bool unavailable);
    /// Whether adding, moving and removing windows is announced, as an X server does; off
    /// by default, as on macOS.
    void setAnnouncesChanges(bool announces) { announcesChanges_ = announces; }
    /// How often the list was asked for.
    [[nodiscard]] std::size_t queryCount() const;

private:
    [[nodiscard]] std::vector<WindowListEntry>::iterator find(ProcessId pid, Rect frame);
    void announce() const;

    std::vector<WindowListEntry> frontToBack_;
    std::function<bool(ProcessId)> isHidden_;
    bool unavailable_ = false;
    bool announcesChanges_ = false;
    Signal<> changed_;
    mutable std::size_t queries_ = 0;
};

} // namespace velmora
