#include "X11Testing/XvfbServer.hpp"

#include <QApplication>
#include <QQuickWindow>
#include <cstdlib>
#include <gtest/gtest.h>

// Qt connects to one display per process, so these tests share one private X server with
// a window manager.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    velmora::testing::XvfbServer server{{.windowManager = true}};
    setenv("DISPLAY", server.display().c_str(), 1);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // QtTest drives keys through QApplication whenever Qt Widgets is linked.
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
