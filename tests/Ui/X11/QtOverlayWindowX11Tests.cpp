#include "Ui/QtOverlayWindow.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/RecordingOverlayContent.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <QGuiApplication>
#include <QPainter>
#include <QQuickView>
#include <QRasterWindow>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace velmora {
namespace {

using testing::RecordingOverlayContent;
using testing::waitUntil;

// The private server's screen is 1280×800, so placement y = 800 - root y - height.
constexpr Rect kPlaced{100, 50, 400, 300};
const QRect kRoot(100, 450, 400, 300);

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t rootWindow() {
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

// A click as the X server sees one from the pointer, at root coordinates.
void click(QPoint at) {
    xcb_connection_t* c = connection();
    xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, rootWindow(),
                        static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y()), 0);
    xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(c);
}

// What the screen shows at `at`, as 0xRRGGBB.
std::uint32_t screenPixel(QPoint at) {
    xcb_connection_t* c = connection();
    auto* image = xcb_get_image_reply(c,
                                      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, rootWindow(),
                                                    static_cast<int16_t>(at.x()),
                                                    static_cast<int16_t>(at.y()), 1, 1, ~0u),
                                      nullptr);
    std::uint32_t pixel = 0;
    if (image != nullptr && xcb_get_image_data_length(image) >= 4) {
        std::memcpy(&pixel, xcb_get_image_data(image), 4);
    }
    free(image);
    return pixel & 0xffffff;
}

constexpr std::uint32_t kBeneathColor = 0xe07830;

/// An application window under the overlay, in its own colour, that counts the clicks
/// reaching it.
class WindowBeneath final : public QRasterWindow {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(), size()), QColor::fromRgb(kBeneathColor));
    }
};

struct OverlayWindowOnX11 : ::testing::Test {
    std::shared_ptr<QtOverlayWindowFactory> factory = std::make_shared<QtOverlayWindowFactory>();
    std::shared_ptr<QtOverlayWindow> window = factory->makeQtWindow();
    std::shared_ptr<RecordingOverlayContent> content = std::make_shared<RecordingOverlayContent>();
    WindowBeneath beneath;

    void SetUp() override {
        // Placed exactly where the overlay goes, without a frame of the window manager.
        beneath.setFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
        beneath.setGeometry(kRoot);
        beneath.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&beneath));

        window->show(kPlaced, content);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window->view()));
    }
};

// Its place on the screen and its clicks into the corners are left to the end-to-end covers.
TEST_F(OverlayWindowOnX11, IsAnUnfocusedOverrideRedirectWindow) {
    xcb_connection_t* c = connection();
    const auto id = static_cast<xcb_window_t>(window->view().winId());

    auto* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr);
    ASSERT_NE(attributes, nullptr);
    EXPECT_TRUE(attributes->override_redirect);
    EXPECT_EQ(attributes->map_state, XCB_MAP_STATE_VIEWABLE);
    free(attributes);

    auto* focus = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    ASSERT_NE(focus, nullptr);
    EXPECT_NE(focus->focus, id);
    free(focus);
}

TEST_F(OverlayWindowOnX11, CoversWhatIsBeneathBeforeItsFirstFrame) {
    const QPoint onCover = kRoot.topLeft() + QPoint(40, 150);
    window->hide();
    ASSERT_TRUE(waitUntil([&] { return screenPixel(onCover) == kBeneathColor; }));

    auto fresh = factory->makeWindow();
    fresh->show(kPlaced, content);
    // No event has been handled since: nothing of the overlay is drawn yet.
    EXPECT_EQ(screenPixel(onCover), 0u);
    fresh->hide();
}

TEST_F(OverlayWindowOnX11, HiddenItLetsClicksThroughAndComesBackOnTop) {
    window->hide();
    EXPECT_FALSE(window->isVisible());
    click(kRoot.center());
    ASSERT_TRUE(waitUntil([&] { return beneath.presses == 1; }));

    beneath.raise();
    window->show(kPlaced, content);
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window->view()));
    click(kRoot.topLeft() + QPoint(40, 150));
    ASSERT_TRUE(waitUntil([&] { return content->backgroundTaps == 1; }));
    EXPECT_EQ(beneath.presses, 1);
}

} // namespace
} // namespace velmora
