#include "Platform/Linux/XInputEventTaps.hpp"
#include "X11TestDesktop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

constexpr InputEventMask engineMask = inputEventMaskBit(InputEventType::keyDown) |
                                      inputEventMaskBit(InputEventType::leftMouseDown) |
                                      inputEventMaskBit(InputEventType::rightMouseDown);

class XInputEventTapsTest : public ::testing::Test {
protected:
    void xdotool(std::vector<std::string> arguments) {
        ASSERT_EQ(desktop.xdotool(std::move(arguments)), 0);
    }
    void focus(const TestApplication& app) {
        xdotool({"windowactivate", "--sync", std::to_string(app.window())});
    }
    // Velmora's requests so far have reached the server before the next input is made.
    void syncVelmora() {
        desktop.connection->reply(xcb_get_input_focus_reply,
                                  xcb_get_input_focus(desktop.connection->get()));
    }

    X11TestDesktop desktop;
    XInputEventTaps taps{desktop.connection, desktop.clients};
    std::vector<InputEvent> events;
};

using Seen = std::pair<InputEventType, std::int32_t>;

std::vector<Seen> seen(const std::vector<InputEvent>& events) {
    std::vector<Seen> out;
    for (const auto& e : events) {
        out.emplace_back(e.type, e.targetPid);
    }
    return out;
}

TEST_F(XInputEventTapsTest, ReportsKeysToTheFocusedAndClicksToThePointedAtProcess) {
    TestApplication left(desktop.server, {"--geometry", "300x200+100+100"});
    TestApplication right(desktop.server, {"--geometry", "300x200+700+300"});
    auto tap =
        taps.createListenOnlyTap(engineMask, [&](const InputEvent& e) { events.push_back(e); });
    ASSERT_TRUE(tap);
    EXPECT_FALSE(tap->isEnabled());
    tap->setEnabled(true);
    EXPECT_TRUE(tap->isEnabled());
    syncVelmora();

    // The target is looked up when the event is read: each step is read before the next.
    const auto step = [&](std::vector<std::string> arguments, std::size_t heard) {
        xdotool(std::move(arguments));
        return waitUntil([&] { return events.size() == heard; });
    };
    focus(left);
    ASSERT_TRUE(step({"key", "a"}, 1));
    ASSERT_TRUE(step({"mousemove", "--sync", "800", "400", "click", "1"}, 2));
    ASSERT_TRUE(step({"click", "2"}, 2)); // the middle button is not listened to
    ASSERT_TRUE(step({"click", "3"}, 3));
    ASSERT_TRUE(step({"mousemove", "--sync", "5", "790", "click", "1"}, 4)); // the bare root
    focus(right);
    ASSERT_TRUE(step({"key", "b"}, 5));

    const std::vector<Seen> expected{
        {InputEventType::keyDown, left.pid()},         {InputEventType::leftMouseDown, right.pid()},
        {InputEventType::rightMouseDown, right.pid()}, {InputEventType::leftMouseDown, 0},
        {InputEventType::keyDown, right.pid()},
    };
    EXPECT_EQ(seen(events), expected);
}

TEST_F(XInputEventTapsTest, FindsTheClientAroundAFocusedOrPointedAtSubwindow) {
    // xterm draws into a child of its top-level window and may focus it.
    ChildProcess xterm({"xterm", "-geometry", "80x24+100+100"}, desktop.server.environment());
    uint32_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(waitUntil([&] {
        for (const auto& client : desktop.clients->clients()) {
            window = client.pid == xterm.pid() ? client.window : window;
        }
        return window != XCB_WINDOW_NONE;
    }));
    auto tap =
        taps.createListenOnlyTap(engineMask, [&](const InputEvent& e) { events.push_back(e); });
    tap->setEnabled(true);
    syncVelmora();
    xdotool({"windowactivate", "--sync", std::to_string(window)});
    xdotool({"key", "a"});
    ASSERT_TRUE(waitUntil([&] { return events.size() == 1; }));
    xdotool({"mousemove", "--sync", "150", "150", "click", "1"});
    ASSERT_TRUE(waitUntil([&] { return events.size() == 2; }));
    EXPECT_EQ(seen(events), (std::vector<Seen>{{InputEventType::keyDown, xterm.pid()},
                                               {InputEventType::leftMouseDown, xterm.pid()}}));
}

TEST_F(XInputEventTapsTest, DeliversOnlyWhileEnabledAndOnlyTheTypesAsked) {
    TestApplication app(desktop.server, {"--geometry", "300x200+100+100"});
    auto keys = taps.createListenOnlyTap(inputEventMaskBit(InputEventType::keyDown),
                                         [&](const InputEvent& e) { events.push_back(e); });
    std::vector<InputEvent> clicks;
    auto clicker = taps.createListenOnlyTap(inputEventMaskBit(InputEventType::leftMouseDown),
                                            [&](const InputEvent& e) { clicks.push_back(e); });
    keys->setEnabled(true);
    clicker->setEnabled(true);
    syncVelmora();
    focus(app);
    xdotool({"mousemove", "--sync", "200", "200", "click", "1"});
    xdotool({"key", "a"});
    ASSERT_TRUE(waitUntil([&] { return events.size() == 1 && clicks.size() == 1; }));

    keys->setEnabled(false);
    syncVelmora();
    xdotool({"key", "a"});
    xdotool({"click", "1"});
    ASSERT_TRUE(waitUntil([&] { return clicks.size() == 2; }));
    EXPECT_EQ(events.size(), 1u) << "a disabled tap heard a key";

    keys->setEnabled(true);
    clicker.reset();
    syncVelmora();
    xdotool({"click", "1"});
    xdotool({"key", "a"});
    ASSERT_TRUE(waitUntil([&] { return events.size() == 2; }));
    EXPECT_EQ(clicks.size(), 2u) << "a destroyed tap heard a click";
}

} // namespace
} // namespace velmora::testing
