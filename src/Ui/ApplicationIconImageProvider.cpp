#include "Ui/ApplicationIconImageProvider.hpp"

#include <QIcon>
#include <QUrl>

namespace velmora {

namespace {

constexpr int kDefaultSide = 64;

} // namespace

ApplicationIconImageProvider::ApplicationIconImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image) {}

QString ApplicationIconImageProvider::source(const QString& icon) {
    // Encoded whole, so that an absolute path keeps its slashes inside the id.
    return QStringLiteral("image://%1/%2")
        .arg(QLatin1String(providerId), QString::fromLatin1(QUrl::toPercentEncoding(icon)));
}

QImage ApplicationIconImageProvider::requestImage(const QString& id, QSize* size,
                                                  const QSize& requestedSize) {
    const QString icon = QUrl::fromPercentEncoding(id.toUtf8());
    const QSize side(requestedSize.width() > 0 ? requestedSize.width() : kDefaultSide,
                     requestedSize.height() > 0 ? requestedSize.height() : kDefaultSide);
    const QIcon loaded = icon.startsWith(QLatin1Char('/')) ? QIcon(icon) : QIcon::fromTheme(icon);
    QImage image = loaded.pixmap(side).toImage();
    if (image.isNull()) {
        image = QImage(side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    }
    if (size) {
        *size = image.size();
    }
    return image;
}

} // namespace velmora
