#pragma once

#include <QQuickImageProvider>

namespace velmora {

/// Serves the bundled symbols to QML in any colour.
///
///     engine.addImageProvider("symbol", new SymbolImageProvider);
///     Image { source: "image://symbol/lock.fill?color=998ce6"; sourceSize: Qt.size(32, 32) }
///
/// The colour is hexadecimal RGB or ARGB without "#". Without a size the symbol is drawn 24
/// square; without a colour, black.
class SymbolImageProvider final : public QQuickImageProvider {
public:
    static constexpr const char* providerId = "symbol";

    SymbolImageProvider();
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};

} // namespace velmora
