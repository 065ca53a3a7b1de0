#include "Platform/Linux/X11FocusGrabs.hpp"
#include "Ui/QtOverlayWindow.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtPasswordPrompt.hpp"
#include "Ui/QtPasswordPrompting.hpp"
#include "Ui/QtRunLoop.hpp"
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

bool keyboardGrabbed(xcb_connection_t* c, xcb_window_t root) {
    auto* grab = xcb_grab_keyboard_reply(
        c,
        xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbed = grab && grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    free(grab);
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_flush(c);
    return grabbed;
}

TEST(PasswordPromptOnX11, ShowsAboveTheOverlaysAndTakesTheKeyboardFromACoveredWindowAtOnce) {
    // Another application's covered window has the focus: its focus-in grab holds the keyboard.
    const auto connection = XcbConnection::open("", std::make_shared<QtRunLoop>());
    ASSERT_TRUE(connection);
    auto focusGrabs = std::make_shared<X11FocusGrabs>(connection);
    xcb_connection_t* app = xcb_connect(nullptr, nullptr);
    const xcb_window_t covered = xcb_generate_id(app);
    const uint32_t unmanaged = 1;
    xcb_create_window(app, XCB_COPY_FROM_PARENT, covered, connection->root(), 100, 100, 300, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT,
                      &unmanaged);
    xcb_map_window(app, covered);
    free(xcb_get_input_focus_reply(app, xcb_get_input_focus(app), nullptr));
    const uint32_t focusChanges = XCB_EVENT_MASK_FOCUS_CHANGE;
    xcb_change_window_attributes(connection->get(), covered, XCB_CW_EVENT_MASK, &focusChanges);
    focusGrabs->hold(covered);
    // The grab is made on the run loop: in place once later work ran and the server answered.
    bool held = false;
    connection->runLoop().post([&] { held = true; });
    ASSERT_TRUE(waitUntil([&] { return held; }));
    connection->reply(xcb_get_input_focus_reply, xcb_get_input_focus(connection->get()));
    xcb_set_input_focus(app, XCB_INPUT_FOCUS_PARENT, covered, XCB_CURRENT_TIME);
    xcb_flush(app);
    ASSERT_TRUE(waitUntil([&] { return keyboardGrabbed(app, connection->root()); }));

    QtOverlayWindowFactory overlays;
    auto overlay = overlays.makeQtWindow();

    QtPasswordPrompting prompts;
    prompts.setFocusGiver([&](std::uint32_t window) { focusGrabs->giveFocusTo(window); });
    auto prompt = prompts.open("Unlock Notes");
    QQuickView& view = static_cast<QtPasswordPrompt&>(*prompt).view();
    // The overlay comes up after the prompt was made, as when a second app locks.
    overlay->show({0, 0, 1280, 800}, std::make_shared<testing::RecordingOverlayContent>());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overlay->view()));

    std::optional<std::string> password;
    prompt->requestPassword("", [&](std::optional<SecretBuffer> typed) {
        password = typed ? std::optional(std::string(typed->view())) : std::nullopt;
    });
    // Typed before Velmora hears that the focus moved.
    typeKeys({"type", "--delay", "0", "hunter2"});
    typeKeys({"key", "Return"});
    ASSERT_TRUE(waitUntil([&] { return password.has_value(); }));
    EXPECT_EQ(password, "hunter2");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    const auto order = stackingOrder();
    const auto position = [&](WId id) {
        return std::find(order.begin(), order.end(), static_cast<xcb_window_t>(id)) - order.begin();
    };
    EXPECT_GT(position(view.winId()), position(overlay->view().winId()));
    xcb_disconnect(app);
}

} // namespace
} // namespace velmora
