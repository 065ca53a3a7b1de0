#pragma once

#include "Platform/OverlayWindows.hpp"
#include "Ui/QmlEngineSource.hpp"

#include <memory>
#include <vector>

class QWindow;

namespace velmora {

class QtOverlayWindow;

/// Makes the overlay windows; those that live share one QML engine.
///
///     QGuiApplication app(argc, argv);
///     auto factory = std::make_shared<QtOverlayWindowFactory>();
///     platform.overlayWindows = factory;
///
/// Qt Quick draws with its software renderer (fast to show, small); make the factory before
/// any Qt Quick window, so that it can select it.
class QtOverlayWindowFactory final : public OverlayWindowFactory {
public:
    QtOverlayWindowFactory();

    [[nodiscard]] std::shared_ptr<OverlayWindow> makeWindow() override;
    /// The same, as the Qt window it is.
    [[nodiscard]] std::shared_ptr<QtOverlayWindow> makeQtWindow();

    /// The Qt windows of the overlays made here that are on screen now.
    [[nodiscard]] std::vector<QWindow*> shownWindows() const;

private:
    /// Held by the windows only: each lets it go when the application is about to quit, and
    /// no Qt object may outlive the application.
    QmlEngineSource engines_;
    std::vector<std::weak_ptr<QtOverlayWindow>> made_;
};

} // namespace velmora
