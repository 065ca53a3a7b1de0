#pragma once

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>

namespace velmora {

/// A blurred rounded rectangle, drawn under a card as its shadow. The item is larger than
/// the card by `margin()` on every side, so that the blur has room.
///
///     SoftShadow {
///         x: card.x - margin; y: card.y - margin + 10
///         width: card.width + 2 * margin; height: card.height + 2 * margin
///         color: "#4c000000"; blurRadius: 20; cornerRadius: 16
///     }
class SoftShadowItem : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY appearanceChanged)
    Q_PROPERTY(double blurRadius READ blurRadius WRITE setBlurRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double margin READ margin NOTIFY appearanceChanged)

public:
    explicit SoftShadowItem(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    [[nodiscard]] QColor color() const { return color_; }
    void setColor(const QColor& color);
    [[nodiscard]] double blurRadius() const { return blurRadius_; }
    void setBlurRadius(double radius);
    [[nodiscard]] double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    /// Room for the blur on each side of the shape.
    [[nodiscard]] double margin() const { return blurRadius_ * 1.5; }

signals:
    void appearanceChanged();

private:
    QImage render(QSize size) const;

    QColor color_ = QColor(0, 0, 0, 76);
    double blurRadius_ = 0;
    double cornerRadius_ = 0;
    QImage cache_;
};

} // namespace velmora
