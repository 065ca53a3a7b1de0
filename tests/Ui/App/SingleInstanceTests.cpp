#include "SingleInstance.hpp"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SingleInstance, ALaterStartHandsOverToTheFirst) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("velmora.socket"));
    int handovers = 0;
    SingleInstance first(path);
    ASSERT_TRUE(first.becomePrimary([&] { ++handovers; }));

    // The handover blocks on the first instance's answer, so it runs in a process of its
    // own in real life; here the first instance's socket is served while it waits.
    for (int start = 1; start <= 2; ++start) {
        SingleInstance later(path);
        EXPECT_FALSE(later.becomePrimary([] { FAIL() << "a later start became primary"; }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return handovers == start; }, 2000));
    }
}

TEST(SingleInstance, TakesOverWhatAnEndedInstanceLeftBehind) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("velmora.socket"));
    {
        SingleInstance ended(path);
        ASSERT_TRUE(ended.becomePrimary([] {}));
    }
    SingleInstance next(path);
    EXPECT_TRUE(next.becomePrimary([] {}));
}

} // namespace
} // namespace velmora
