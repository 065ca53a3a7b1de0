#pragma once

#include "Platform/OverlayWindows.hpp"

#include <memory>

class QQmlEngine;

namespace velmora {

/// Makes the X11 overlay windows; all of them share one QML engine.
///
///     QGuiApplication app(argc, argv);   // on the xcb platform
///     auto factory = std::make_shared<QtOverlayWindowFactory>();
///     platform.overlayWindows = factory;
///
/// Qt Quick draws with its software renderer (fast to show, small); make the factory before
/// any Qt Quick window, so that it can select it.
class QtOverlayWindowFactory final : public OverlayWindowFactory {
public:
    QtOverlayWindowFactory();

    [[nodiscard]] std::shared_ptr<OverlayWindow> makeWindow(Rect contentRect,
                                                            WindowStyleMask styleMask,
                                                            BackingStoreType backing,
                                                            bool defer) override;

private:
    std::shared_ptr<QQmlEngine> engine_;
};

} // namespace velmora
