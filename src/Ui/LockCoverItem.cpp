#include "Ui/LockCoverItem.hpp"

#include "Core/Overlay/LockBackgroundView.hpp"
#include "Ui/QtColor.hpp"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

LockCoverItem::LockCoverItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void LockCoverItem::paint(QPainter* painter) {
    const QRectF area = boundingRect();
    QPainterPath shape;
    shape.addRoundedRect(area, cornerRadius_, cornerRadius_);

    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(shape, toQColor(LockBackgroundView{coverOpacity_}.coverColor()));

    QLinearGradient sheen(area.topLeft(), area.bottomRight());
    const auto& stops = LockBackgroundView::sheenGradient;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        sheen.setColorAt(static_cast<double>(i) / static_cast<double>(stops.size() - 1),
                         toQColor(stops[i]));
    }
    painter->fillPath(shape, sheen);
}

void LockCoverItem::setCoverOpacity(double opacity) {
    if (opacity == coverOpacity_) {
        return;
    }
    coverOpacity_ = opacity;
    emit appearanceChanged();
    update();
}

void LockCoverItem::setCornerRadius(double radius) {
    if (radius == cornerRadius_) {
        return;
    }
    cornerRadius_ = radius;
    emit appearanceChanged();
    update();
}

} // namespace velmora
