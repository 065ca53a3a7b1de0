#include "Ui/QtOverlayWindowFactory.hpp"

#include "Ui/QmlEngineSetup.hpp"
#include "Ui/QtOverlayWindow.hpp"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace velmora {

QtOverlayWindowFactory::QtOverlayWindowFactory() {
    const auto windows = QGuiApplication::allWindows();
    const bool quickWindowExists = std::any_of(windows.begin(), windows.end(), [](QWindow* w) {
        return qobject_cast<QQuickWindow*>(w) != nullptr;
    });
    if (!quickWindowExists) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    engine_ = std::make_shared<QQmlEngine>();
    prepareQmlEngine(*engine_);
}

// Every overlay is the same borderless, buffered window; the style and backing asked for
// have no other form on X.
std::shared_ptr<OverlayWindow> QtOverlayWindowFactory::makeWindow(Rect contentRect, WindowStyleMask,
                                                                  BackingStoreType, bool) {
    return std::make_shared<QtOverlayWindow>(engine_, contentRect);
}

} // namespace velmora
