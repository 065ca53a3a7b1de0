#pragma once

#include "Views/NamedColor.hpp"

#include <QColor>
#include <QQmlPropertyMap>

namespace velmora {

/// The menu-bar panel's sizes, colours and fixed texts for the QML files, read from the
/// view models and their layout structs so that the QML spells out no number of its own.
///
///     import Velmora
///     Text { font.pixelSize: PanelStyle.titleFontSize; color: PanelStyle.primary }
///
/// Named colours ("secondary", "red", ...) are those of the panel's dark material.
class PanelStyle final : public QQmlPropertyMap {
    Q_OBJECT

public:
    explicit PanelStyle(QObject* parent = nullptr);

    /// A named colour on the panel's dark material.
    [[nodiscard]] static QColor color(NamedColor name);
};

} // namespace velmora
