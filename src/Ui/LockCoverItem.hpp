#pragma once

#include <QQuickPaintedItem>

namespace velmora {

/// The dark cover of an overlay: black at `coverOpacity` under a faint diagonal sheen, with
/// its corners rounded at `cornerRadius`.
///
///     LockCover { anchors.fill: parent; coverOpacity: 0.95; cornerRadius: 26 }
class LockCoverItem : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(double coverOpacity READ coverOpacity WRITE setCoverOpacity NOTIFY appearanceChanged)
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY appearanceChanged)

public:
    explicit LockCoverItem(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    [[nodiscard]] double coverOpacity() const { return coverOpacity_; }
    void setCoverOpacity(double opacity);
    [[nodiscard]] double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);

signals:
    void appearanceChanged();

private:
    double coverOpacity_ = 1;
    double cornerRadius_ = 0;
};

} // namespace velmora
