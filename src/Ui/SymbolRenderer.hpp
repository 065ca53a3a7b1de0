#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace velmora {

/// Draws one of the bundled symbols (src/Ui/icons/<name>.svg) in a single colour.
///
///     QImage lock = renderSymbol("lock.fill", QSize(32, 32), QColor(153, 140, 230));
///
/// The drawing keeps its proportions and is centred; an unknown name gives a transparent
/// image of the asked size.
[[nodiscard]] QImage renderSymbol(const QString& name, QSize size, const QColor& color);

/// Whether a symbol of this name is bundled.
[[nodiscard]] bool hasSymbol(const QString& name);

} // namespace velmora
