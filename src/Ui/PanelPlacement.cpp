#include "Ui/PanelPlacement.hpp"

#include <algorithm>

namespace velmora {

namespace {

// Keeps [start, start + length) inside [low, low + room); a longer span starts at `low`.
int clampSpan(int start, int length, int low, int room) {
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

QPoint panelPosition(const QRect& icon, const QRect& screen, const QSize& panel) {
    if (icon.isEmpty()) {
        return {screen.x() + (screen.width() - panel.width()) / 2,
                screen.y() + (screen.height() - panel.height()) / 2};
    }
    const bool iconAtTop = icon.center().y() < screen.center().y();
    const int x = icon.x() + (icon.width() - panel.width()) / 2;
    const int y = iconAtTop ? icon.y() + icon.height() : icon.y() - panel.height();
    return {clampSpan(x, panel.width(), screen.x(), screen.width()),
            clampSpan(y, panel.height(), screen.y(), screen.height())};
}

} // namespace velmora
