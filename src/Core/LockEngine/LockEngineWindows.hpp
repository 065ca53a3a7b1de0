#pragma once

// The window-list reading shared by the lock engine and its cover keeper; not for use
// elsewhere.

#include "Platform/Screens.hpp"
#include "Platform/WindowList.hpp"
#include "Support/Rect.hpp"

#include <optional>
#include <vector>

namespace velmora::lockengine {

/// A window on a layer at or above the normal one, with complete, finite bounds of some area.
bool isCoverable(const WindowListEntry& entry);

/// The frontmost normal window of `pid`; when it has none, its frontmost window above the
/// normal layer (an application showing only floating panels is covered there, not on some
/// other screen).
const WindowListEntry* coverableWindow(const std::vector<WindowListEntry>& windows, ProcessId pid);

/// The entry's bounds in placement coordinates (origin bottom-left, y upwards).
Rect placementFrame(const WindowListEntry& entry, double primaryHeight);

/// The main screen, else the first; none without a display.
std::optional<Screen> mainOrFirstScreen(const ScreenProviding& screens);

/// The height of the primary display, which holds the origin of both coordinate systems.
double primaryScreenHeight(const ScreenProviding& screens);

} // namespace velmora::lockengine
