#pragma once

class QWindow;

namespace velmora {

/// What Velmora's own windows need from the window system beyond what Qt offers. Each
/// desktop has its own implementation file: X11 on Linux, the `NSWindow` shim on macOS.
///
///     nativeOverlayCreated(view);    // once its native window exists
///     nativeOverlayWillShow(view);
///     view.show();
///     nativeOverlayChanged(view);    // after Qt showed it, or changed its flags

/// An overlay's native window was just made: on X11 the server fills it black until it is
/// drawn; on macOS it takes the overlay's level, spaces, shadow and key refusal.
void nativeOverlayCreated(QWindow& overlay);
/// Qt shows the overlay next: on X11 it is mapped on top at once.
void nativeOverlayWillShow(QWindow& overlay);
/// Qt showed the overlay or changed its flags, which on macOS resets its window's style.
void nativeOverlayChanged(QWindow& overlay);
/// The panel was shown as a popup at the tray icon and asked for the keyboard: on X11 an
/// override-redirect window only gets it directly.
void nativePopupShown(QWindow& popup);

} // namespace velmora
