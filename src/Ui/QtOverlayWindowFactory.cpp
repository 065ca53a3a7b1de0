#include "Ui/QtOverlayWindowFactory.hpp"

#include "Ui/QmlEngineSetup.hpp"
#include "Ui/QtOverlayWindow.hpp"

#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace velmora {

QtOverlayWindowFactory::QtOverlayWindowFactory() {
    if (QQuickWindow::sceneGraphBackend() != QLatin1String("software")) {
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
