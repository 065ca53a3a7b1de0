// Velmora's sway IPC connection against the real headless sway of the suite.
#include "Platform/Linux/Wayland/SwayIpc.hpp"
#include "SharedSway.hpp"
#include "Support/TemporaryDirectory.hpp"
#include "harness/Eventually.hpp"
#include "harness/TestClientProcess.hpp"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace velmora::e2e {
namespace {

// Runs the Qt event loop until `done` holds.
bool serveUntil(const std::function<bool()>& done) {
    return eventually([&] {
        QCoreApplication::processEvents();
        return done();
    });
}

// The replies, in the order they came.
struct Replies {
    std::vector<nlohmann::json> bodies;
    SwayIpc::Reply collect() {
        return [this](const nlohmann::json& body) { bodies.push_back(body); };
    }
};

TEST(SwayIpcTest, RepliesInOrderAndWindowEventsBetweenThem) {
    SwaySession* sway = sharedSway();
    if (!sway) {
        GTEST_SKIP() << "needs sway, grim and wtype";
    }
    std::string error;
    auto ipc = SwayIpc::connect(sway->ipcSocket(), error);
    ASSERT_TRUE(ipc) << error;
    std::vector<nlohmann::json> events;
    const Subscription subscription =
        ipc->observeEvents([&](std::uint32_t type, const nlohmann::json& body) {
            if (type == SwayIpc::kWindowEvent) {
                events.push_back(body);
            }
        });
    Replies replies;
    ipc->subscribe({"window"}, replies.collect());
    ipc->runCommand("nop; no-such-command", replies.collect());
    ASSERT_TRUE(serveUntil([&] { return replies.bodies.size() == 2; }));
    EXPECT_EQ(replies.bodies[0], nlohmann::json::parse(R"({"success": true})"));
    ASSERT_EQ(replies.bodies[1].size(), 2u);
    EXPECT_FALSE(replies.bodies[1][1].value("success", true));

    testing::TemporaryDirectory output;
    TestClientProcess client(output.path(), "ipc", {}, sway->environment());
    ASSERT_TRUE(serveUntil([&] {
        return std::any_of(events.begin(), events.end(), [&](const nlohmann::json& event) {
            return event.value("change", "") == "new" &&
                   event["container"].value("pid", 0) == client.pid() &&
                   event["container"].value("app_id", "") == "org.velmora.TestClient";
        });
    })) << events.size()
        << " window events";
    const std::int64_t id = events.back()["container"]["id"];

    // A tree of a few kilobytes comes in more than one read.
    ipc->getTree(replies.collect());
    ipc->runCommand("[con_id=" + std::to_string(id) + "] move scratchpad", replies.collect());
    ASSERT_TRUE(serveUntil([&] { return replies.bodies.size() == 4; }));
    EXPECT_NE(replies.bodies[2].dump().find("\"pid\":" + std::to_string(client.pid())),
              std::string::npos);
    EXPECT_TRUE(replies.bodies[3][0].value("success", false)) << replies.bodies[3];
    EXPECT_TRUE(sway->window("ipc")->minimized);
}

} // namespace
} // namespace velmora::e2e
