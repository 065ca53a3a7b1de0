#pragma once

#include "Platform/WindowList.hpp"

#include <cstddef>
#include <vector>

namespace velmora {

/// The simulated window server: application windows in front-to-back order.
///
///     SimWindowServer windows;
///     windows.addWindow(42, 100, 50, 800, 600);   // in front of earlier windows
///     windows.removeWindowsOf(42);
class SimWindowServer final : public WindowListProviding {
public:
    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;

    /// Puts a window of `pid` in front of every window so far.
    void addWindow(ProcessId pid, double x, double y, double width, double height, int layer = 0);
    /// Puts any entry, including malformed ones, in front.
    void addEntry(WindowListEntry entry);
    void removeWindowsOf(ProcessId pid);
    /// While set, the window server gives no list.
    void setUnavailable(bool unavailable);
    /// How often the list was asked for.
    [[nodiscard]] std::size_t queryCount() const;

private:
    std::vector<WindowListEntry> frontToBack_;
    bool unavailable_ = false;
    mutable std::size_t queries_ = 0;
};

} // namespace velmora
