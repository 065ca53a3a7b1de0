#pragma once

namespace velmora {

/// Turns the native window of a toolkit's overlay into one that covers a locked
/// application: modal-panel level (8), on every space and beside full-screen applications
/// (collection behaviour 257), no shadow, transparent, and never the key or main window, so
/// the covered application keeps the keyboard focus it had.
///
///     // After the Qt window is shown, and again whenever Qt may have re-created it:
///     applyMacOverlayWindowStyle(reinterpret_cast<void*>(window->winId()));
///
/// `nativeView` is the window's `NSView*`. False when it is null or not yet in a window.
/// Main thread only.
bool applyMacOverlayWindowStyle(void* nativeView);

} // namespace velmora
