#include "Ui/ApplicationIconImageProvider.hpp"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ApplicationIconImageProvider, FillsTheAskedSizeWithRoundedCornersAndSkipsMissingIcons) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("square.png"));
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::red);
    ASSERT_TRUE(square.save(path));
    EXPECT_TRUE(ApplicationIconImageProvider::source(path + ".missing", 0.25).isEmpty());
    EXPECT_TRUE(ApplicationIconImageProvider::source("no-such-icon-anywhere", 0.25).isEmpty());

    const QString prefix = QStringLiteral("image://appicon/");
    const QString source = ApplicationIconImageProvider::source(path, 0.25);
    ASSERT_TRUE(source.startsWith(prefix));
    ApplicationIconImageProvider provider;
    QSize size;
    const QImage icon = provider.requestImage(source.mid(prefix.size()), &size, QSize(40, 40));
    EXPECT_EQ(size, QSize(40, 40));
    EXPECT_EQ(icon.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(icon.pixelColor(20, 0), QColor(Qt::red));
    for (const QPoint corner : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 39), QPoint(39, 39)}) {
        EXPECT_EQ(icon.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
    }
}

} // namespace
} // namespace velmora
