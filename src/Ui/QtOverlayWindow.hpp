#pragma once

#include "Platform/OverlayWindows.hpp"

#include <QPointer>
#include <memory>

class QQmlEngine;
class QQuickView;

namespace velmora {

class OverlayContentAdaptor;

/// An overlay as a Qt Quick window drawn from OverlayContent.qml: frameless, never focused,
/// above every other window. On X11 it is override-redirect (the window manager neither
/// frames, moves nor focuses it); on macOS its `NSWindow` is styled as an overlay (see
/// NativeWindows.hpp).
///
///     QtOverlayWindow window(engine, frame);
///     window.setContentView(hostingView);   // the card of hostingView->rootView
///     window.orderFrontRegardless();
///
/// Made once per locked bundle and then shown and hidden; a new content view rebuilds the
/// card with fresh hover and press state.
class QtOverlayWindow final : public OverlayWindow {
public:
    /// `frame` in placement coordinates (bottom-left of the primary monitor, y up).
    QtOverlayWindow(std::shared_ptr<QQmlEngine> engine, Rect frame);
    ~QtOverlayWindow() override;
    QtOverlayWindow(const QtOverlayWindow&) = delete;
    QtOverlayWindow& operator=(const QtOverlayWindow&) = delete;

    void setOpaque(bool opaque) override;
    void setBackgroundColor(Color color) override;
    void setHasShadow(bool hasShadow) override;
    void setLevel(WindowLevel level) override;
    void setCollectionBehavior(WindowCollectionBehavior behavior) override;
    void setReleasedWhenClosed(bool released) override;
    void setIgnoresMouseEvents(bool ignores) override;

    void setFrame(Rect frame, bool display) override;
    [[nodiscard]] std::optional<Rect> contentViewBounds() const override;
    void setContentView(std::shared_ptr<OverlayHostingView> view) override;

    void orderFrontRegardless() override;
    void orderOut() override;
    [[nodiscard]] bool isVisible() const override;

    [[nodiscard]] bool canBecomeKeyWindow() const override { return false; }
    [[nodiscard]] bool canBecomeMainWindow() const override { return false; }

    /// The Qt window, for tests and screenshots.
    [[nodiscard]] QQuickView& view() const { return *view_; }

private:
    void showContent();

    std::shared_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickView> view_;
    std::shared_ptr<OverlayHostingView> contentView_;
    QPointer<OverlayContentAdaptor> adaptor_;
    QPointer<OverlayContentAdaptor> shownAdaptor_;
};

} // namespace velmora
