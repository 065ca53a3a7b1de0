#pragma once

#include "Platform/OverlayWindows.hpp"

#include <QPointer>
#include <memory>

class QQmlEngine;
class QQuickView;

namespace velmora {

class OverlayContentAdaptor;

/// A lock card's window as a Qt Quick window drawn from OverlayContent.qml: frameless, never
/// focused, above every other window. On X11 it is override-redirect (the window manager
/// neither frames, moves nor focuses it); on macOS its `NSWindow` takes the overlay's level
/// and spaces itself (see NativeWindows.hpp).
///
///     QtOverlayWindow window(engine);
///     window.show(frame, content);
///
/// Made once per locked bundle and then shown and hidden; a new content rebuilds the card
/// with fresh hover and press state.
class QtOverlayWindow final : public OverlayWindow {
public:
    explicit QtOverlayWindow(std::shared_ptr<QQmlEngine> engine);
    ~QtOverlayWindow() override;
    QtOverlayWindow(const QtOverlayWindow&) = delete;
    QtOverlayWindow& operator=(const QtOverlayWindow&) = delete;

    void show(Rect frame, std::shared_ptr<OverlayContent> content) override;
    void hide() override;
    [[nodiscard]] bool isVisible() const override;

    /// `frame` in placement coordinates (bottom-left of the primary monitor, y up).
    void setFrame(Rect frame);
    /// Shows `content` (none: an empty window) where the window is, for a window system that
    /// places it itself.
    void showInPlace(std::shared_ptr<OverlayContent> content);

    /// The Qt window, for tests and screenshots.
    [[nodiscard]] QQuickView& view() const { return *view_; }

private:
    std::shared_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickView> view_;
    std::shared_ptr<OverlayContent> content_;
    QPointer<OverlayContentAdaptor> adaptor_;
};

} // namespace velmora
