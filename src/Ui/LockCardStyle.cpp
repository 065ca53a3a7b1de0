#include "Ui/LockCardStyle.hpp"

#include "Core/Overlay/LockCardView.hpp"
#include "Core/Overlay/OverlayContentView.hpp"
#include "Ui/QtColor.hpp"

#include <QGuiApplication>
#include <QPalette>
#include <cmath>

namespace velmora {

namespace {

using Card = LockCardView;

const Card& defaultCard() {
    static const Card card("", {}, {}, {});
    return card;
}

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

template <std::size_t N> QVariantList colors(const std::array<Color, N>& stops) {
    QVariantList list;
    for (const Color& stop : stops) {
        list.append(QVariant::fromValue(toQColor(stop)));
    }
    return list;
}

int milliseconds(double seconds) {
    return static_cast<int>(std::lround(seconds * 1000));
}

} // namespace

QColor LockCardStyle::brandPurple() {
    return toQColor(defaultCard().brandPurple);
}
QColor LockCardStyle::brandPurpleBackground() {
    return toQColor(defaultCard().brandPurpleBackground);
}
QVariantList LockCardStyle::cardSheen() {
    return colors(Card::sheenGradient);
}
QColor LockCardStyle::coverColor() {
    return toQColor(LockBackgroundView{OverlayContentView::backgroundOpacity}.coverColor());
}
QVariantList LockCardStyle::coverSheen() {
    return colors(LockBackgroundView::sheenGradient);
}
QColor LockCardStyle::shadowColor() {
    return toQColor(Card::shadow.color);
}
QString LockCardStyle::subtitle() {
    return text(Card::subtitle);
}
QString LockCardStyle::minimizeTitle() {
    return text(Card::minimizeTitle);
}
QString LockCardStyle::minimizeTooltip() {
    return text(Card::minimizeTooltip);
}
QColor LockCardStyle::tooltipColor() {
    return QGuiApplication::palette().color(QPalette::ToolTipBase);
}
QColor LockCardStyle::tooltipTextColor() {
    return QGuiApplication::palette().color(QPalette::ToolTipText);
}
QString LockCardStyle::lockSymbol() {
    return text(Card::lockSymbol);
}
QString LockCardStyle::minimizeSymbol() {
    return text(Card::minimizeSymbol);
}
double LockCardStyle::width() {
    return Card::width;
}
double LockCardStyle::cornerRadius() {
    return Card::cornerRadius;
}
double LockCardStyle::shadowRadius() {
    return Card::shadow.radius;
}
double LockCardStyle::shadowOffsetY() {
    return Card::shadow.offsetY;
}
double LockCardStyle::hoverScale() {
    return Card::hoverScale;
}
int LockCardStyle::hoverAnimationMs() {
    return milliseconds(Card::hoverAnimationSeconds);
}
double LockCardStyle::iconCircleDiameter() {
    return Card::iconCircleDiameter;
}
double LockCardStyle::lockSymbolSize() {
    return Card::lockSymbolSize;
}
double LockCardStyle::iconPaddingTop() {
    return Card::iconPaddingTop;
}
double LockCardStyle::iconPaddingBottom() {
    return Card::iconPaddingBottom;
}
double LockCardStyle::textSpacing() {
    return Card::textSpacing;
}
int LockCardStyle::appNameMaximumLines() {
    return Card::appNameMaximumLines;
}
double LockCardStyle::textPaddingHorizontal() {
    return Card::textPaddingHorizontal;
}
double LockCardStyle::textPaddingBottom() {
    return Card::textPaddingBottom;
}
double LockCardStyle::unlockLabelSpacing() {
    return Card::unlockLabelSpacing;
}
double LockCardStyle::unlockSymbolSize() {
    return Card::unlockSymbolSize;
}
double LockCardStyle::unlockButtonHeight() {
    return Card::unlockButtonHeight;
}
double LockCardStyle::unlockButtonCornerRadius() {
    return Card::unlockButtonCornerRadius;
}
double LockCardStyle::unlockButtonPaddingHorizontal() {
    return Card::unlockButtonPaddingHorizontal;
}
double LockCardStyle::unlockButtonPaddingBottom() {
    return Card::unlockButtonPaddingBottom;
}
double LockCardStyle::pressedScale() {
    return Card::pressedScale;
}
double LockCardStyle::waitingOpacity() {
    return Card::waitingOpacity;
}
double LockCardStyle::secondaryTextOpacity() {
    return 0.55;
}
int LockCardStyle::pressAnimationMs() {
    return milliseconds(Card::pressAnimationSeconds);
}
double LockCardStyle::pressMaximumDistance() {
    return Card::pressMaximumDistance;
}
double LockCardStyle::minimizeLabelSpacing() {
    return Card::minimizeLabelSpacing;
}
double LockCardStyle::minimizeSymbolSize() {
    return Card::minimizeSymbolSize;
}
double LockCardStyle::minimizePaddingBottom() {
    return Card::minimizePaddingBottom;
}
double LockCardStyle::bottomSpacerHeight() {
    return Card::bottomSpacerHeight;
}

} // namespace velmora
