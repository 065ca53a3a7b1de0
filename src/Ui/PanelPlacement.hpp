#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace velmora {

/// Where the tray panel's top-left corner goes: centred on the tray icon, under it when the
/// icon is in the upper half of `screen`, above it otherwise, and always wholly inside
/// `screen` (the area windows may use). An empty `icon` (the tray did not say where it is)
/// centres the panel on `screen`.
///
///     QPoint at = panelPosition(tray.geometry(), screen->availableGeometry(), QSize(350, 420));
[[nodiscard]] QPoint panelPosition(const QRect& icon, const QRect& screen, const QSize& panel);

} // namespace velmora
