#include "Ui/RoundedPanelItem.hpp"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {

// Enough for a gradient stretched over a whole screen to show no steps.
constexpr QSize kFlatTextureSize(64, 64);

} // namespace

RoundedPanelItem::RoundedPanelItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void RoundedPanelItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    // The base class sizes the texture to the item.
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    fitTexture();
}

void RoundedPanelItem::fitTexture() {
    // Without corners a panel is a colour under a smooth gradient: stretched, it looks the
    // same, and the cover of a full-screen window holds kilobytes, not two full-screen images.
    const QSize itemSize = size().toSize();
    setTextureSize(cornerRadius_ > 0 ? itemSize : itemSize.boundedTo(kFlatTextureSize));
}

void RoundedPanelItem::paint(QPainter* painter) {
    const QRectF area = boundingRect();
    QPainterPath shape;
    shape.addRoundedRect(area, cornerRadius_, cornerRadius_);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(shape, color_);
    if (sheen_.size() < 2) {
        return;
    }
    QLinearGradient gradient(area.topLeft(), diagonal_ ? area.bottomRight() : area.bottomLeft());
    for (qsizetype i = 0; i < sheen_.size(); ++i) {
        gradient.setColorAt(static_cast<double>(i) / static_cast<double>(sheen_.size() - 1),
                            sheen_[i].value<QColor>());
    }
    painter->fillPath(shape, gradient);
}

void RoundedPanelItem::setColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        changed();
    }
}

void RoundedPanelItem::setCornerRadius(double radius) {
    if (radius != cornerRadius_) {
        cornerRadius_ = radius;
        fitTexture();
        changed();
    }
}

void RoundedPanelItem::setSheen(const QVariantList& sheen) {
    if (sheen != sheen_) {
        sheen_ = sheen;
        changed();
    }
}

void RoundedPanelItem::setDiagonal(bool diagonal) {
    if (diagonal != diagonal_) {
        diagonal_ = diagonal;
        changed();
    }
}

void RoundedPanelItem::changed() {
    Q_EMIT appearanceChanged();
    update();
}

} // namespace velmora
