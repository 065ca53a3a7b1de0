#pragma once

#include "Support/ProcessId.hpp"
#include "Support/Subscription.hpp"

#include <functional>
#include <optional>
#include <vector>

namespace velmora {

/// One entry of the window server's list. Any field may be missing; bounds are in the
/// window server's coordinates (origin top-left of the primary display, y downwards).
struct WindowListEntry {
    std::optional<ProcessId> ownerPid;
    std::optional<int> layer;
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> width;
    std::optional<double> height;
};

/// The on-screen windows, front to back, without desktop elements.
class WindowListProviding {
public:
    virtual ~WindowListProviding() = default;
    /// Absent when the window server does not answer.
    [[nodiscard]] virtual std::optional<std::vector<WindowListEntry>> onScreenWindows() const = 0;
    /// Calls `onChange` soon after a window maps, unmaps, moves, resizes or is restacked, on
    /// window servers that announce it; elsewhere the list has to be asked again.
    [[nodiscard]] virtual Subscription observeChanges(std::function<void()> onChange) {
        (void)onChange;
        return {};
    }
};

} // namespace velmora
