#include <QCoreApplication>
#include <gtest/gtest.h>

// The contexts read their helper through the Qt event loop.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
