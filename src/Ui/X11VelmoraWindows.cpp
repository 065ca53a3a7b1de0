#include "Ui/X11VelmoraWindows.hpp"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

namespace velmora {

std::vector<std::uint32_t> velmoraWindows() {
    std::vector<std::uint32_t> windows;
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        // winId() would create the native window of one that has none.
        if (window->handle()) {
            windows.push_back(static_cast<std::uint32_t>(window->winId()));
        }
    }
    return windows;
}

bool isVelmoraWindow(std::uint32_t window) {
    const auto windows = velmoraWindows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

} // namespace velmora
