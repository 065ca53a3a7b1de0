#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QUrl>
#include <functional>
#include <memory>

class QQmlEngine;
class QQuickView;

namespace velmora {

class QmlEngineSource;

/// Velmora's control panel (MenuBarPanel.qml), 350 wide and as tall as its content. It drops
/// down from the tray icon as a frameless popup that closes when it loses the keyboard or on
/// Escape; where the tray cannot say where its icon is, or there is no tray, it is a normal
/// small window instead, centred on the screen. Its window and content are built each time
/// it shows and released once it is closed: most of the time nobody looks at it.
///
///     MenuBarPanel panel(engines);
///     QObject::connect(&trayIcon, &QSystemTrayIcon::activated, [&] {
///         panel.toggle(trayIcon.geometry());
///     });
class MenuBarPanel {
public:
    /// `engines` must outlive the panel.
    explicit MenuBarPanel(QmlEngineSource& engines);
    ~MenuBarPanel();
    MenuBarPanel(const MenuBarPanel&) = delete;
    MenuBarPanel& operator=(const MenuBarPanel&) = delete;

    /// Opens the panel at the tray icon at `icon` (empty: as a window), or closes it.
    void toggle(const QRect& icon);
    /// Opens the panel at `icon`, or brings it forward where it is.
    void open(const QRect& icon);
    /// Shows the panel as a window where no tray exists, leaving the focus to the window
    /// manager: an activation asked for now would only take effect after the first frame,
    /// perhaps taking the focus from an application that came up meanwhile.
    void showWithoutTray();
    void close();
    /// Shows the QML file at `source` as the panel's content, its `model` property set to
    /// `model`, which must outlive the panel's use of it; an empty `source` removes it.
    /// `showing` runs each time the panel is about to show it.
    void setContent(const QUrl& source, QObject* model, std::function<void()> showing = {});

    [[nodiscard]] bool isPopup() const { return popup_; }
    [[nodiscard]] bool isVisible() const;
    /// The Qt window while the panel is open (and a moment after), for tests and screenshots.
    [[nodiscard]] QQuickView* view() const { return view_.get(); }

private:
    void build();
    void releaseIfClosed();
    void show(const QRect& icon);
    void place();
    void loadContent();

    QmlEngineSource& engines_;
    std::shared_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickView> view_;
    QRect icon_;
    bool popup_ = false;
    QUrl contentSource_;
    QObject* contentModel_ = nullptr;
    std::function<void()> showing_;
    // The click on the tray icon that takes the keyboard from an open panel closes it just
    // before the click itself arrives; that click must not open it again.
    QElapsedTimer sinceFocusLost_;
    QObject context_;
};

} // namespace velmora
