#include "Ui/SymbolImageProvider.hpp"
#include "Ui/SymbolRenderer.hpp"

#include <gtest/gtest.h>
#include <map>

namespace velmora {
namespace {

/// How many opaque pixels the image has of each colour.
std::map<QRgb, int> opaqueColours(const QImage& image) {
    std::map<QRgb, int> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (const QColor pixel = image.pixelColor(x, y); pixel.alpha() == 255) {
                ++colours[pixel.rgb()];
            }
        }
    }
    return colours;
}

TEST(SymbolRenderer, DrawsEveryLabelSymbolInTheAskedColour) {
    for (const char* name : {"lock.fill", "lock.open.fill", "lock.shield.fill", "key.fill",
                             "touchid", "faceid", "opticid", "minus.circle.fill"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(hasSymbol(name));
        const auto colours =
            opaqueColours(renderSymbol(name, QSize(32, 32), QColor(153, 140, 230)));
        ASSERT_EQ(colours.size(), 1u);
        EXPECT_EQ(colours.begin()->first, QColor(153, 140, 230).rgb());
        EXPECT_GT(colours.begin()->second, 20);
    }
}

TEST(SymbolRenderer, UnknownOrEscapingNamesDrawNothing) {
    for (const char* name : {"", "no.such.symbol", "../qml/LockCard", "/etc/passwd"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(hasSymbol(name));
        EXPECT_TRUE(opaqueColours(renderSymbol(name, QSize(16, 16), Qt::black)).empty());
    }
}

TEST(SymbolImageProvider, ReadsNameColourAndSizeFromTheRequest) {
    SymbolImageProvider provider;
    QSize size;
    const QImage tinted = provider.requestImage("key.fill?color=404066", &size, QSize(18, 18));
    EXPECT_EQ(size, QSize(18, 18));
    EXPECT_TRUE(opaqueColours(tinted).contains(QColor(0x40, 0x40, 0x66).rgb()));
    EXPECT_EQ(provider.requestImage("lock.fill?color=nonsense", &size, QSize()).size(),
              QSize(24, 24));
}

} // namespace
} // namespace velmora
