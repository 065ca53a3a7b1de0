#include "Ui/SymbolRenderer.hpp"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace velmora {

namespace {

QString symbolPath(const QString& name) {
    return QStringLiteral(":/velmora/icons/%1.svg").arg(name);
}

} // namespace

bool hasSymbol(const QString& name) {
    // A name such as "../x" must not reach outside the bundled icons.
    return !name.contains(QLatin1Char('/')) && QFile::exists(symbolPath(name));
}

QImage renderSymbol(const QString& name, QSize size, const QColor& color) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!hasSymbol(name)) {
        return image;
    }
    QSvgRenderer svg(symbolPath(name));
    QSizeF drawn = svg.viewBoxF().size();
    drawn.scale(QSizeF(image.size()), Qt::KeepAspectRatio);
    const QRectF target((image.width() - drawn.width()) / 2, (image.height() - drawn.height()) / 2,
                        drawn.width(), drawn.height());

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, target);
    // Keep the drawing's coverage, take the colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

} // namespace velmora
