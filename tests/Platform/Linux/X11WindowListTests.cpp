#include "Platform/Linux/X11CoverWindows.hpp"
#include "Platform/Linux/X11WindowList.hpp"
#include "X11TestDesktop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

struct Listed {
    std::size_t position;
    WindowListEntry entry;
};

std::optional<Listed> find(const std::vector<WindowListEntry>& list, ProcessId pid) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].ownerPid == pid) {
            return Listed{i, list[i]};
        }
    }
    return std::nullopt;
}

/// A mapped override-redirect window of `connection`'s client, as Velmora's overlays are.
xcb_window_t mapUnmanagedWindow(XcbConnection& connection, int16_t x, int16_t y) {
    xcb_connection_t* c = connection.get();
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t overrideRedirect = 1;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, connection.root(), x, y, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT,
                      &overrideRedirect);
    xcb_map_window(c, window);
    return window;
}

class X11WindowListTest : public ::testing::Test {
protected:
    X11TestDesktop desktop;
    std::shared_ptr<X11Screens> screens = std::make_shared<X11Screens>(desktop.connection);
    std::shared_ptr<X11CoverWindows> covers = std::make_shared<X11CoverWindows>(
        desktop.connection, screens, std::make_shared<X11FocusGrabs>(desktop.connection),
        [](xcb_window_t) { return false; });
    X11WindowList windows{desktop.connection, desktop.clients, screens,
                          [this](xcb_window_t frame) { return covers->covers(frame); }};

    int changes = 0;
    const Subscription announced = windows.observeChanges([this] { ++changes; });

    /// Makes `cause`, then answers how many changes the list announced on hearing the first
    /// configure notice that `matches`: it hears each event before this test does.
    std::optional<int>
    announcedOn(const std::function<bool(const xcb_configure_notify_event_t&)>& matches,
                const std::function<void()>& cause) {
        int seenBefore = changes;
        std::optional<int> during;
        const Subscription events =
            desktop.connection->observeEvents([&](const xcb_generic_event_t& event) {
                const auto& configure =
                    reinterpret_cast<const xcb_configure_notify_event_t&>(event);
                if (!during && event.response_type == XCB_CONFIGURE_NOTIFY && matches(configure)) {
                    during = changes - seenBefore;
                }
                seenBefore = changes;
            });
        cause();
        waitUntil([&] { return during.has_value(); });
        return during;
    }

    bool listed(ProcessId pid) {
        const auto list = windows.onScreenWindows();
        return list && find(*list, pid);
    }
};

TEST_F(X11WindowListTest, ListsShownWindowsTopFirstWithTheirFramesAndLayers) {
    TestApplication lower(desktop.server, {"--geometry", "300x200+100+100"});
    TestApplication upper(desktop.server, {"--geometry", "200x100+500+300"});
    TestApplication kept(desktop.server, {"--geometry", "200x100+700+500", "--state", "ABOVE"});
    TestApplication panel(desktop.server, {"--geometry", "1280x30+0+770", "--type", "DOCK"});
    TestApplication menu(desktop.server, {"--geometry", "100x100+50+50", "--type", "POPUP_MENU"});
    // Unmanaged, and named only by the server.
    TestApplication tooltip(desktop.server,
                            {"--geometry", "80x20+900+60", "--override-redirect", "--no-pid"});
    // This process's own unmanaged windows (Velmora's overlays) are left out.
    mapUnmanagedWindow(*desktop.connection, 10, 10);
    desktop.connection->flush();
    ASSERT_TRUE(waitUntil([&] { return listed(menu.pid()) && listed(tooltip.pid()); }));

    const auto list = windows.onScreenWindows();
    ASSERT_TRUE(list);
    struct Case {
        const char* name;
        const TestApplication& app;
        int layer;
    };
    const Case cases[] = {
        {"normal", lower, 0},     {"normal, mapped later", upper, 0},
        {"kept above", kept, 3},  {"dock", panel, 20},
        {"popup menu", menu, 24}, {"override-redirect", tooltip, 24},
    };
    for (const auto& c : cases) {
        const auto found = find(*list, c.app.pid());
        ASSERT_TRUE(found) << c.name;
        EXPECT_EQ(found->entry.layer, c.layer) << c.name;
        // Xvfb's only monitor is the primary one at the root's origin.
        const Rect frame = desktop.frameOf(c.app.window());
        EXPECT_EQ(Rect(*found->entry.x, *found->entry.y, *found->entry.width, *found->entry.height),
                  frame)
            << c.name;
        EXPECT_GT(frame.width, 0) << c.name;
    }
    EXPECT_LT(find(*list, upper.pid())->position, find(*list, lower.pid())->position);
    EXPECT_LT(find(*list, kept.pid())->position, find(*list, upper.pid())->position);
    EXPECT_EQ(find(*list, tooltip.pid())->position, 0u);
    EXPECT_FALSE(find(*list, getpid()));

    // Iconified, or on another desktop: not on the screen.
    desktop.watch(lower.window());
    desktop.watch(upper.window());
    ASSERT_EQ(desktop.xdotool({"windowminimize", std::to_string(lower.window())}), 0);
    ASSERT_EQ(desktop.xdotool({"set_desktop_for_window", std::to_string(upper.window()), "1"}), 0);
    EXPECT_TRUE(waitUntil([&] { return !listed(lower.pid()) && !listed(upper.pid()); }));
    EXPECT_TRUE(listed(kept.pid()));
}

TEST_F(X11WindowListTest, AnnouncesOtherProgramsWindowsButNotItsOwnOnceSeenOrNamed) {
    TestApplication app(desktop.server, {"--geometry", "300x200+100+100"});
    const xcb_window_t own = mapUnmanagedWindow(*desktop.connection, 0, 0);
    desktop.connection->flush();
    ASSERT_TRUE(waitUntil([&] { return listed(app.pid()); }));

    const auto duringOwnMove =
        announcedOn([&](const auto& notice) { return notice.window == own; },
                    [&] {
                        const uint32_t moved[] = {200, 200};
                        xcb_configure_window(desktop.connection->get(), own,
                                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, moved);
                        desktop.connection->flush();
                    });
    ASSERT_TRUE(duringOwnMove);
    EXPECT_EQ(*duringOwnMove, 0);

    const int beforeMove = changes;
    ASSERT_EQ(desktop.xdotool({"windowmove", std::to_string(app.window()), "400", "300"}), 0);
    EXPECT_TRUE(waitUntil([&] { return changes > beforeMove; }));

    // A manager may stack a new window before it lists it among its clients: the window is
    // announced again once its owner is known.
    xcb_connection_t* c = desktop.observer->get();
    const xcb_atom_t clientList = desktop.observer->ewmh()->_NET_CLIENT_LIST;
    const auto listClients = [&](const std::vector<xcb_window_t>& clients) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, desktop.observer->root(), clientList,
                            XCB_ATOM_WINDOW, 32, static_cast<uint32_t>(clients.size()),
                            clients.data());
        desktop.observer->flush();
    };
    listClients({});
    ASSERT_TRUE(waitUntil([&] { return !listed(app.pid()); }));
    const int beforeNamed = changes;
    listClients({app.window()});
    EXPECT_TRUE(waitUntil([&] { return changes > beforeNamed; }));
    EXPECT_TRUE(listed(app.pid()));
}

TEST_F(X11WindowListTest, AnnouncesRestacksOfCoveredWindowsOnlyAndTheirCoversFollowAtOnce) {
    // Unmanaged, so that this test stacks them itself.
    TestApplication covered(desktop.server,
                            {"--geometry", "300x200+100+100", "--override-redirect"});
    TestApplication other(desktop.server, {"--geometry", "300x200+200+150", "--override-redirect"});
    ASSERT_TRUE(waitUntil([&] { return listed(covered.pid()) && listed(other.pid()); }));
    auto cover = covers->makeCover();
    cover->show({covered.window(), {100, 500, 300, 200}, 0});
    // Made on another connection than the observer's: once that one is answered, it exists.
    desktop.connection->reply(xcb_get_input_focus_reply,
                              xcb_get_input_focus(desktop.connection->get()));
    const auto windowAbove = [&](xcb_window_t window) -> xcb_window_t {
        const auto tree =
            desktop.observer->reply(xcb_query_tree_reply, xcb_query_tree(desktop.observer->get(),
                                                                         desktop.observer->root()));
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        const auto* found = std::find(children, children + count, window);
        return found + 1 < children + count ? found[1] : xcb_window_t{XCB_WINDOW_NONE};
    };
    const auto coverWindow = windowAbove(covered.window());
    const auto restack = [&](xcb_window_t window, xcb_window_t sibling, uint32_t mode) {
        const uint32_t values[] = {sibling, mode};
        xcb_configure_window(desktop.observer->get(), window,
                             XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
        desktop.observer->flush();
    };
    restack(other.window(), coverWindow, XCB_STACK_MODE_ABOVE);
    ASSERT_TRUE(waitUntil([&] { return windowAbove(coverWindow) == other.window(); }));

    // Slipped between the window and its cover, as a window manager raising it would.
    const auto duringSlip = announcedOn(
        [&](const auto& notice) {
            return notice.window == other.window() && notice.above_sibling == covered.window();
        },
        [&] { restack(other.window(), covered.window(), XCB_STACK_MODE_ABOVE); });
    ASSERT_TRUE(duringSlip);
    EXPECT_EQ(*duringSlip, 0) << "a window merely restacked changes nothing covered";
    EXPECT_TRUE(waitUntil([&] { return windowAbove(covered.window()) == coverWindow; }));

    const int before = changes;
    restack(covered.window(), other.window(), XCB_STACK_MODE_ABOVE);
    EXPECT_TRUE(waitUntil([&] { return changes > before; }));
    EXPECT_TRUE(waitUntil([&] { return windowAbove(covered.window()) == coverWindow; }));
}

} // namespace
} // namespace velmora::testing
