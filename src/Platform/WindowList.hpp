#pragma once

#include "Support/ProcessId.hpp"
#include "Support/Subscription.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace velmora {

/// The window server's own number for a window: what a cover is stacked above.
using WindowNumber = std::uint64_t;

/// One entry of the window server's list. Any field may be missing; bounds are in the
/// window server's coordinates (origin top-left of the primary display, y downwards).
struct WindowListEntry {
    std::optional<ProcessId> ownerPid;
    std::optional<int> layer;
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> width;
    std::optional<double> height;
    /// Absent where the window server does not say.
    std::optional<WindowNumber> number;
};

/// The on-screen windows, front to back, without desktop elements.
class WindowListProviding {
public:
    virtual ~WindowListProviding() = default;
    /// Absent when the window server does not answer.
    [[nodiscard]] virtual std::optional<std::vector<WindowListEntry>> onScreenWindows() const = 0;
    /// Calls `onChange` soon after a window maps, unmaps, moves, resizes, is restacked or
    /// changes desktop or state, on window servers that announce it.
    [[nodiscard]] virtual Subscription observeChanges(std::function<void()> onChange) {
        (void)onChange;
        return {};
    }
    /// Whether `observeChanges` hears of every change; where it does not, the list has to be
    /// asked again from time to time.
    [[nodiscard]] virtual bool announcesChanges() const { return false; }
};

} // namespace velmora
