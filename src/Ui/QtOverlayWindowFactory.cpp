#include "Ui/QtOverlayWindowFactory.hpp"

#include "Ui/QtOverlayWindow.hpp"

#include <QQuickView>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace velmora {

QtOverlayWindowFactory::QtOverlayWindowFactory() {
    if (QQuickWindow::sceneGraphBackend() != QLatin1String("software")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
}

std::shared_ptr<OverlayWindow> QtOverlayWindowFactory::makeWindow() {
    return makeQtWindow();
}

std::shared_ptr<QtOverlayWindow> QtOverlayWindowFactory::makeQtWindow() {
    std::erase_if(made_, [](const auto& window) { return window.expired(); });
    auto window = std::make_shared<QtOverlayWindow>(engines_.engine());
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
