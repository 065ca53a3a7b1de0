#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QVariantList>

namespace velmora {

/// A rounded rectangle in one colour under a sheen gradient: the dark cover of an overlay
/// (diagonal sheen) and the face of the lock card (sheen from top to bottom). Painted as one
/// image, so it keeps its edges when scaled.
///
///     RoundedPanel {
///         anchors.fill: parent
///         color: "#f2000000"; cornerRadius: 26
///         sheen: ["#05ffffff", "transparent", "#03ffffff"]; diagonal: true
///     }
///
/// The sheen's colours are spread evenly from the first corner (or edge) to the last. A panel
/// without corners is painted at most 64 pixels square and stretched.
class RoundedPanelItem : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY appearanceChanged)
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY appearanceChanged)
    Q_PROPERTY(QVariantList sheen READ sheen WRITE setSheen NOTIFY appearanceChanged)
    Q_PROPERTY(bool diagonal READ diagonal WRITE setDiagonal NOTIFY appearanceChanged)

public:
    explicit RoundedPanelItem(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    [[nodiscard]] QColor color() const { return color_; }
    void setColor(const QColor& color);
    [[nodiscard]] double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    [[nodiscard]] QVariantList sheen() const { return sheen_; }
    void setSheen(const QVariantList& sheen);
    /// From the top-left to the bottom-right corner; otherwise from top to bottom.
    [[nodiscard]] bool diagonal() const { return diagonal_; }
    void setDiagonal(bool diagonal);

signals:
    void appearanceChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void changed();
    void fitTexture();

    QColor color_ = Qt::black;
    double cornerRadius_ = 0;
    QVariantList sheen_;
    bool diagonal_ = false;
};

} // namespace velmora
