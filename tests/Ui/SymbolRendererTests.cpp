#include "Ui/SymbolImageProvider.hpp"
#include "Ui/SymbolRenderer.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).alpha() == 255 ? 1 : 0;
        }
    }
    return count;
}

TEST(SymbolRenderer, DrawsEveryLabelSymbolInTheAskedColour) {
    for (const char* name : {"lock.fill", "lock.open.fill", "lock.shield.fill", "key.fill",
                             "touchid", "faceid", "opticid", "minus.circle.fill"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(hasSymbol(name));
        const QImage image = renderSymbol(name, QSize(32, 32), QColor(153, 140, 230));
        EXPECT_GT(opaquePixels(image), 20);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() == 255) {
                    ASSERT_EQ(pixel.rgb(), QColor(153, 140, 230).rgb()) << x << "," << y;
                }
            }
        }
    }
}

TEST(SymbolRenderer, UnknownOrEscapingNamesDrawNothing) {
    for (const char* name : {"", "no.such.symbol", "../qml/LockCard", "/etc/passwd"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(hasSymbol(name));
        EXPECT_EQ(opaquePixels(renderSymbol(name, QSize(16, 16), Qt::black)), 0);
    }
}

TEST(SymbolImageProvider, ReadsNameColourAndSizeFromTheRequest) {
    SymbolImageProvider provider;
    QSize size;
    const QImage tinted = provider.requestImage("key.fill?color=404066", &size, QSize(18, 18));
    EXPECT_EQ(size, QSize(18, 18));
    EXPECT_GT(opaquePixels(tinted), 0);
    bool tintFound = false;
    for (int y = 0; y < 18 && !tintFound; ++y) {
        for (int x = 0; x < 18 && !tintFound; ++x) {
            tintFound = tinted.pixelColor(x, y) == QColor(0x40, 0x40, 0x66);
        }
    }
    EXPECT_TRUE(tintFound);
    EXPECT_EQ(provider.requestImage("lock.fill?color=nonsense", &size, QSize()).size(),
              QSize(24, 24));
}

} // namespace
} // namespace velmora
