#include "Ui/SoftShadowItem.hpp"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

// One pass of a running-sum box blur along rows (or columns) of an 8-bit coverage image.
void boxBlur(QImage& alpha, int radius, bool horizontal) {
    const int width = alpha.width();
    const int height = alpha.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const int window = 2 * radius + 1;
    std::vector<int> source(static_cast<std::size_t>(length));
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> uchar& {
            return horizontal ? alpha.scanLine(line)[i] : alpha.scanLine(i)[line];
        };
        for (int i = 0; i < length; ++i) {
            source[static_cast<std::size_t>(i)] = at(i);
        }
        auto value = [&](int i) {
            return i < 0 || i >= length ? 0 : source[static_cast<std::size_t>(i)];
        };
        int sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            sum += value(i);
        }
        for (int i = 0; i < length; ++i) {
            at(i) = static_cast<uchar>(sum / window);
            sum += value(i + radius + 1) - value(i - radius);
        }
    }
}

} // namespace

SoftShadowItem::SoftShadowItem(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void SoftShadowItem::paint(QPainter* painter) {
    const QSize size = boundingRect().size().toSize();
    if (cache_.size() != size) {
        cache_ = render(size);
    }
    painter->drawImage(QPoint(0, 0), cache_);
}

QImage SoftShadowItem::render(QSize size) const {
    QImage alpha(size.expandedTo(QSize(1, 1)), QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter shape(&alpha);
        shape.setRenderHint(QPainter::Antialiasing);
        const double inset = margin();
        QPainterPath path;
        path.addRoundedRect(QRectF(alpha.rect()).adjusted(inset, inset, -inset, -inset),
                            cornerRadius_, cornerRadius_);
        shape.fillPath(path, Qt::black);
    }
    // Three box blurs of this width come close to a Gaussian whose deviation is half the
    // blur radius.
    const double sigma = blurRadius_ / 2;
    const int boxRadius =
        std::max(0, static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    for (int pass = 0; pass < 3 && boxRadius > 0; ++pass) {
        boxBlur(alpha, boxRadius, true);
        boxBlur(alpha, boxRadius, false);
    }

    QImage shadow(alpha.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.fill(color_);
    QPainter tint(&shadow);
    tint.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    tint.drawImage(QPoint(0, 0), alpha);
    return shadow;
}

void SoftShadowItem::setColor(const QColor& color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    cache_ = {};
    Q_EMIT appearanceChanged();
    update();
}

void SoftShadowItem::setBlurRadius(double radius) {
    if (radius == blurRadius_) {
        return;
    }
    blurRadius_ = radius;
    cache_ = {};
    Q_EMIT appearanceChanged();
    update();
}

void SoftShadowItem::setCornerRadius(double radius) {
    if (radius == cornerRadius_) {
        return;
    }
    cornerRadius_ = radius;
    cache_ = {};
    Q_EMIT appearanceChanged();
    update();
}

} // namespace velmora
