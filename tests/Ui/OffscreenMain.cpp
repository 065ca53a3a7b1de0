#include <QApplication>
#include <QQuickWindow>
#include <gtest/gtest.h>

// Layout, prompt and application tests need no display: Qt draws offscreen.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // QtTest drives keys through QApplication whenever Qt Widgets is linked.
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
