#pragma once

#include <QColor>
#include <QObject>

namespace velmora {

/// Colour arithmetic for the QML files, written once.
///
///     import Velmora
///     Rectangle { color: Colors.tinted(PanelStyle.red, 0.2) }
class Colors final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    /// `color` seen through `opacity`: its own alpha times `opacity`.
    Q_INVOKABLE static QColor tinted(const QColor& color, double opacity);
};

} // namespace velmora
