#pragma once

class QQmlEngine;

namespace velmora {

/// Makes Velmora's QML types ("import Velmora": Colors, LockCardStyle, PanelStyle, RoundedPanel,
/// SoftShadow), its symbol images ("image://symbol/...") and application icons
/// ("image://appicon/...") available to `engine`.
///
///     QQmlEngine engine;
///     prepareQmlEngine(engine);
void prepareQmlEngine(QQmlEngine& engine);

} // namespace velmora
