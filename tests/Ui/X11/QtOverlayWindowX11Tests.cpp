#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/RecordingOverlayContent.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

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

/// An application window under the overlay, in its own colour.
class WindowBeneath final : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(), size()), QColor::fromRgb(kBeneathColor));
    }
};

// Its place, focus and clicks are left to the end-to-end covers.
TEST(OverlayWindowOnX11, CoversWhatIsBeneathBeforeItsFirstFrame) {
    // Placed exactly where the overlay goes, without a frame of the window manager.
    WindowBeneath beneath;
    beneath.setFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
    beneath.setGeometry(kRoot);
    beneath.show();
    const QPoint onCover = kRoot.topLeft() + QPoint(40, 150);
    ASSERT_TRUE(waitUntil([&] { return screenPixel(onCover) == kBeneathColor; }));

    QtOverlayWindowFactory factory;
    auto window = factory.makeWindow();
    window->show(kPlaced, std::make_shared<RecordingOverlayContent>());
    // No event has been handled since: nothing of the overlay is drawn yet.
    EXPECT_EQ(screenPixel(onCover), 0u);
    window->hide();
}

} // namespace
} // namespace velmora
