#include "Ui/QtOverlayWindowFactory.hpp"

#include "Ui/QmlEngineSetup.hpp"
#include "Ui/QtOverlayWindow.hpp"

#include <QQmlEngine>
#include <QQuickView>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace velmora {

QtOverlayWindowFactory::QtOverlayWindowFactory() {
    if (QQuickWindow::sceneGraphBackend() != QLatin1String("software")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
}

// Every overlay is the same borderless, buffered window; the style and backing asked for
// have no other form in Qt.
std::shared_ptr<OverlayWindow> QtOverlayWindowFactory::makeWindow(Rect contentRect, WindowStyleMask,
                                                                  BackingStoreType, bool) {
    std::erase_if(made_, [](const auto& window) { return window.expired(); });
    auto engine = engine_.lock();
    if (!engine) {
        engine = std::make_shared<QQmlEngine>();
        prepareQmlEngine(*engine);
        engine_ = engine;
    }
    auto window = std::make_shared<QtOverlayWindow>(std::move(engine), contentRect);
    made_.push_back(window);
    return window;
}

std::vector<QWindow*> QtOverlayWindowFactory::shownWindows() const {
    std::vector<QWindow*> shown;
    for (const auto& made : made_) {
        if (const auto window = made.lock(); window && window->isVisible()) {
            shown.push_back(&window->view());
        }
    }
    return shown;
}

} // namespace velmora
