#pragma once

class QQmlEngine;

namespace velmora {

/// Makes Velmora's QML types ("import Velmora": LockCardStyle, RoundedPanel, SoftShadow) and
/// its symbol images ("image://symbol/...") available to `engine`.
///
///     QQmlEngine engine;
///     prepareQmlEngine(engine);
void prepareQmlEngine(QQmlEngine& engine);

} // namespace velmora
