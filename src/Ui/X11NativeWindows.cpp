#include "Platform/Linux/X11EarlyMap.hpp"
#include "Platform/Linux/X11InputFocus.hpp"
#include "Platform/Linux/X11WindowBackground.hpp"
#include "Ui/NativeWindows.hpp"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

namespace velmora {

namespace {

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

void nativeOverlayCreated(QWindow& overlay) {
    if (xcb_connection_t* connection = x11Connection()) {
        fillUndrawnWithBlack(connection, static_cast<std::uint32_t>(overlay.winId()));
    }
}

void nativeOverlayWillShow(QWindow& overlay) {
    if (xcb_connection_t* connection = x11Connection()) {
        mapOnTopAtOnce(connection, static_cast<std::uint32_t>(overlay.winId()));
    }
}

// Override-redirect windows keep what they were made with.
void nativeOverlayChanged(QWindow&) {}

void nativePopupShown(QWindow& popup) {
    if (xcb_connection_t* connection = x11Connection()) {
        giveInputFocus(connection, static_cast<std::uint32_t>(popup.winId()));
    }
}

} // namespace velmora
