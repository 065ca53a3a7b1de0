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
    // xterm draws into a child of its top-level window and may focus it.
    ChildProcess xterm({"xterm", "-geometry", "80x24+700+300"}, desktop.server.environment());
    uint32_t right = XCB_WINDOW_NONE;
    ASSERT_TRUE(waitUntil([&] {
        for (const auto& client : desktop.clients->clients()) {
            right = client.pid == xterm.pid() ? client.window : right;
        }
        return right != XCB_WINDOW_NONE;
    }));
    auto tap =
        taps.createListenOnlyTap(engineMask, [&](const InputEvent& e) { events.push_back(e); });
    ASSERT_TRUE(tap);
    tap->setEnabled(true);
    syncVelmora();

    // The target is looked up when the event is read: each step is read before the next.
    const auto step = [&](std::vector<std::string> arguments, std::size_t heard) {
        xdotool(std::move(arguments));
        return waitUntil([&] { return events.size() == heard; });
    };
    xdotool({"windowactivate", "--sync", std::to_string(left.window())});
    ASSERT_TRUE(step({"key", "a"}, 1));
    ASSERT_TRUE(step({"mousemove", "--sync", "800", "400", "click", "1"}, 2));
    ASSERT_TRUE(step({"click", "2"}, 2)); // the middle button is not listened to
    ASSERT_TRUE(step({"click", "3"}, 3));
    ASSERT_TRUE(step({"mousemove", "--sync", "5", "790", "click", "1"}, 4)); // the bare root
    xdotool({"windowactivate", "--sync", std::to_string(right)});
    ASSERT_TRUE(step({"key", "b"}, 5));

    const std::vector<Seen> expected{
        {InputEventType::keyDown, left.pid()},         {InputEventType::leftMouseDown, xterm.pid()},
        {InputEventType::rightMouseDown, xterm.pid()}, {InputEventType::leftMouseDown, 0},
        {InputEventType::keyDown, xterm.pid()},
    };
    EXPECT_EQ(seen(events), expected);
}

} // namespace
} // namespace velmora::testing
