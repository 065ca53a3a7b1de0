#pragma once

#include "Platform/CoverWindows.hpp"
#include "Platform/WindowList.hpp"
#include "Support/Rect.hpp"
#include "Support/Signal.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace velmora {

/// The simulated window server: application windows and the program's covers in one
/// front-to-back stacking order. Covers are not listed, as the program's own windows are not.
///
///     SimWindowServer windows;
///     windows.addWindow(42, 100, 50, 800, 600);   // in front of earlier windows, numbered
///     windows.moveWindow(42, {100, 50, 800, 600}, {300, 50, 800, 600});
///     windows.raiseWindow(42, {300, 50, 800, 600});
///     windows.removeWindowsOf(42);
class SimWindowServer final : public WindowListProviding {
public:
    using CoverId = std::uint64_t;

    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;
    [[nodiscard]] Subscription observeChanges(std::function<void()> onChange) override;
    [[nodiscard]] bool announcesChanges() const override { return announcesChanges_; }

    /// Puts a window of `pid` in front of every window so far, with a number of its own.
    void addWindow(ProcessId pid, double x, double y, double width, double height, int layer = 0);
    /// Puts any entry, including malformed ones, in front, numbered only if it says so.
    void addEntry(WindowListEntry entry);
    /// Gives the frontmost window of `pid` with bounds `from` the bounds `to`, keeping its
    /// place in the order. False when there is no such window.
    bool moveWindow(ProcessId pid, Rect from, Rect to);
    /// Takes the frontmost window of `pid` with bounds `frame` off the screen, as when it is
    /// closed or moved to another desktop. False when there is no such window.
    bool removeWindow(ProcessId pid, Rect frame);
    /// Brings the frontmost window of `pid` with bounds `frame` in front of every window and
    /// cover, as a window manager raises it, without activating anything. False when there
    /// is no such window.
    bool raiseWindow(ProcessId pid, Rect frame);
    void removeWindowsOf(ProcessId pid);
    /// Leaves the windows of the processes `isHidden` names out of the list, as the system
    /// does for a hidden application's windows.
    void setHiddenProcesses(std::function<bool(ProcessId)> isHidden);
    /// While set, the window server gives no list.
    void setUnavailable(bool unavailable);
    /// Whether changes are announced, as an X server does; off by default, as on macOS.
    void setAnnouncesChanges(bool announces) { announcesChanges_ = announces; }
    /// Announces what the server does not see itself: an application hidden or shown.
    void announceChange() const;
    /// How often the list was asked for.
    [[nodiscard]] std::size_t queryCount() const;

    /// Places a cover directly in front of the window it names, or in front of everything
    /// when it names none or one that is gone.
    void placeCover(CoverId cover, const CoverPlacement& placement);
    void removeCover(CoverId cover);
    /// The covers directly in front of the numbered window, with only covers between.
    [[nodiscard]] std::vector<CoverPlacement> coversDirectlyAbove(WindowNumber window) const;

private:
    struct Slot {
        WindowListEntry window;
        std::optional<CoverId> cover;
        CoverPlacement placement;
    };

    [[nodiscard]] std::vector<Slot>::iterator find(ProcessId pid, Rect frame);
    void announce() const;

    std::vector<Slot> frontToBack_;
    WindowNumber nextNumber_ = 1;
    std::function<bool(ProcessId)> isHidden_;
    bool unavailable_ = false;
    bool announcesChanges_ = false;
    Signal<> changed_;
    mutable std::size_t queries_ = 0;
};

} // namespace velmora
