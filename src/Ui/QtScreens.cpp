#include "Ui/QtScreens.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace velmora {
namespace {

Rect rect(const QRect& geometry) {
    return {static_cast<double>(geometry.x()), static_cast<double>(geometry.y()),
            static_cast<double>(geometry.width()), static_cast<double>(geometry.height())};
}

} // namespace

QtScreens::QtScreens(ActiveFrame activeFrame) : activeFrame_(std::move(activeFrame)) {}

PlacementCoordinates QtScreens::primaryCoordinates() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return {primary ? rect(primary->geometry()) : Rect{}};
}

std::vector<Screen> QtScreens::screens() const {
    const PlacementCoordinates placement = coordinates();
    std::vector<Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(
            {screen->name().toStdString(), placement.fromRoot(rect(screen->geometry()))});
    }
    return screens;
}

std::optional<Screen> QtScreens::mainScreen() const {
    const QScreen* chosen = QGuiApplication::primaryScreen();
    if (const auto frame = activeFrame_ ? activeFrame_() : std::nullopt) {
        const QPoint centre(static_cast<int>(frame->x + frame->width / 2),
                            static_cast<int>(frame->y + frame->height / 2));
        if (QScreen* holding = QGuiApplication::screenAt(centre)) {
            chosen = holding;
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    return Screen{chosen->name().toStdString(), coordinates().fromRoot(rect(chosen->geometry()))};
}

} // namespace velmora
