#pragma once

#include "Platform/Platform.hpp"

namespace velmora {

/// The macOS desktop: every service of `Platform` over AppKit, Quartz, LocalAuthentication,
/// ServiceManagement, Foundation and Sparkle, except the two that belong to the interface
/// toolkit.
///
///     Platform platform = makeMacPlatform(qtRunLoop, qtOverlayWindows);
///     platform.logger = logger;
///     installPlatform(std::move(platform));
///
/// `runLoop` must run on the main `CFRunLoop` (Qt's event loop does). The logger is left
/// for start-up to fill in.
Platform makeMacPlatform(std::shared_ptr<RunLoop> runLoop,
                         std::shared_ptr<OverlayWindowFactory> overlayWindows);

} // namespace velmora
