#include "Platform/Mac/MacOverlayWindowStyle.hpp"
#include "Ui/NativeWindows.hpp"

#include <QWindow>

namespace velmora {

namespace {

// Qt's window id on macOS is the window's NSView.
void styleOverlay(QWindow& overlay) {
    if (!applyMacOverlayWindowStyle(reinterpret_cast<void*>(overlay.winId()))) {
        qWarning("Overlay window: its NSWindow could not be styled");
    }
}

} // namespace

void nativeOverlayCreated(QWindow& overlay) {
    styleOverlay(overlay);
}

void nativeOverlayWillShow(QWindow& overlay) {
    styleOverlay(overlay);
}

void nativeOverlayChanged(QWindow& overlay) {
    styleOverlay(overlay);
}

// Qt's activation request makes an AppKit window key; nothing more is needed.
void nativePopupShown(QWindow&) {}

} // namespace velmora
