#include "Ui/SymbolImageProvider.hpp"

#include "Ui/SymbolRenderer.hpp"

#include <QUrlQuery>

namespace velmora {

namespace {

constexpr int kDefaultSide = 24;

} // namespace

SymbolImageProvider::SymbolImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage SymbolImageProvider::requestImage(const QString& id, QSize* size,
                                         const QSize& requestedSize) {
    const qsizetype queryStart = id.indexOf(QLatin1Char('?'));
    const QString name = id.left(queryStart);
    QColor color(Qt::black);
    if (queryStart >= 0) {
        const QUrlQuery query(id.mid(queryStart + 1));
        const QColor asked =
            QColor::fromString(QLatin1Char('#') + query.queryItemValue(QStringLiteral("color")));
        if (asked.isValid()) {
            color = asked;
        }
    }
    QSize side(requestedSize.width() > 0 ? requestedSize.width() : kDefaultSide,
               requestedSize.height() > 0 ? requestedSize.height() : kDefaultSide);
    QImage image = renderSymbol(name, side, color);
    if (size) {
        *size = image.size();
    }
    return image;
}

} // namespace velmora
