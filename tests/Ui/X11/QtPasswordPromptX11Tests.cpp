#include "Ui/QtOverlayWindow.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtPasswordPrompt.hpp"
#include "Ui/QtPasswordPrompting.hpp"
#include "Ui/RecordingOverlayContent.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <QGuiApplication>
#include <QProcess>
#include <QQuickView>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace velmora {
namespace {

using testing::waitUntil;

// The root's children from bottom to top.
std::vector<xcb_window_t> stackingOrder() {
    xcb_connection_t* c =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    std::vector<xcb_window_t> children(xcb_query_tree_children(tree),
                                       xcb_query_tree_children(tree) +
                                           xcb_query_tree_children_length(tree));
    free(tree);
    return children;
}

// Keys as the X server sees them from the keyboard.
void typeKeys(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

TEST(PasswordPromptOnX11, ShowsAboveTheOverlaysAndTakesTheKeyboard) {
    QtOverlayWindowFactory overlays;
    auto overlay = overlays.makeQtWindow();

    QtPasswordPrompting prompts;
    auto prompt = prompts.open("Unlock Notes");
    QQuickView& view = static_cast<QtPasswordPrompt&>(*prompt).view();
    // The overlay comes up after the prompt was made, as when a second app locks.
    overlay->show({0, 0, 1280, 800}, std::make_shared<testing::RecordingOverlayContent>());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overlay->view()));

    std::optional<std::string> password;
    prompt->requestPassword("", [&](std::optional<SecretBuffer> typed) {
        password = typed ? std::optional(std::string(typed->view())) : std::nullopt;
    });
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    const auto order = stackingOrder();
    const auto position = [&](WId id) {
        return std::find(order.begin(), order.end(), static_cast<xcb_window_t>(id)) - order.begin();
    };
    EXPECT_GT(position(view.winId()), position(overlay->view().winId()));

    typeKeys({"type", "--delay", "0", "hunter2"});
    typeKeys({"key", "Return"});
    ASSERT_TRUE(waitUntil([&] { return password.has_value(); }));
    EXPECT_EQ(password, "hunter2");
}

} // namespace
} // namespace velmora
