#include "Ui/LockCardStyle.hpp"

#include <cmath>

namespace velmora {

namespace {

const LockCardView& defaultCard() {
    static const LockCardView card("", {}, {}, {});
    return card;
}

} // namespace

QColor LockCardStyle::brandPurple() {
    return toQColor(defaultCard().brandPurple);
}

QColor LockCardStyle::brandPurpleBackground() {
    return toQColor(defaultCard().brandPurpleBackground);
}

QVariantList LockCardStyle::gradient(std::span<const Color> stops) {
    QVariantList list;
    for (const Color& stop : stops) {
        list.append(QVariant::fromValue(toQColor(stop)));
    }
    return list;
}

int LockCardStyle::milliseconds(double seconds) {
    return static_cast<int>(std::lround(seconds * 1000));
}

} // namespace velmora
