#include "Ui/ApplicationIconImageProvider.hpp"

#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace velmora {

namespace {

constexpr int kDefaultSide = 64;

bool isPath(const QString& icon) {
    return icon.startsWith(QLatin1Char('/'));
}

} // namespace

ApplicationIconImageProvider::ApplicationIconImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image) {}

QString ApplicationIconImageProvider::source(const QString& icon, double cornerRatio) {
    if (isPath(icon) ? !QFileInfo(icon).isFile() : !QIcon::hasThemeIcon(icon)) {
        return {};
    }
    // The icon encoded whole, so that an absolute path keeps its slashes inside its part.
    return QStringLiteral("image://%1/%2/%3")
        .arg(QLatin1String(providerId), QString::number(cornerRatio),
             QString::fromLatin1(QUrl::toPercentEncoding(icon)));
}

QImage ApplicationIconImageProvider::requestImage(const QString& id, QSize* size,
                                                  const QSize& requestedSize) {
    const qsizetype slash = id.indexOf(QLatin1Char('/'));
    const double cornerRatio = slash > 0 ? id.left(slash).toDouble() : 0;
    const QString icon = QUrl::fromPercentEncoding(id.mid(slash + 1).toUtf8());
    const QSize side(requestedSize.width() > 0 ? requestedSize.width() : kDefaultSide,
                     requestedSize.height() > 0 ? requestedSize.height() : kDefaultSide);
    QImage image(side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QPixmap pixmap = (isPath(icon) ? QIcon(icon) : QIcon::fromTheme(icon)).pixmap(side);
    if (!pixmap.isNull()) {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        QPainterPath corners;
        corners.addRoundedRect(QRectF(QPointF(), side), cornerRatio * side.width(),
                               cornerRatio * side.height());
        painter.setClipPath(corners);
        const QSize filled = pixmap.size().scaled(side, Qt::KeepAspectRatioByExpanding);
        painter.drawPixmap(QRect(QPoint((side.width() - filled.width()) / 2,
                                        (side.height() - filled.height()) / 2),
                                 filled),
                           pixmap);
    }
    if (size) {
        *size = image.size();
    }
    return image;
}

} // namespace velmora
