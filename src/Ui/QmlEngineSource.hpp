#pragma once

#include <memory>

class QQmlEngine;

namespace velmora {

/// A QML engine made on demand for the windows that share it, and gone with the last of them:
/// a window that is not on screen costs no engine, no type caches and no script heap.
///
///     QmlEngineSource engines;
///     auto view = std::make_unique<QQuickView>(engines.engine().get(), nullptr);
///
/// Each engine is prepared with prepareQmlEngine; once one is gone, the memory it freed is
/// handed back to the system.
class QmlEngineSource {
public:
    /// The live engine, or a new one.
    [[nodiscard]] std::shared_ptr<QQmlEngine> engine();

private:
    std::weak_ptr<QQmlEngine> engine_;
};

} // namespace velmora
