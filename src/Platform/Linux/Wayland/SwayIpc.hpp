#pragma once

#include "Support/Lifetime.hpp"
#include "Support/Signal.hpp"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

class QSocketNotifier;

namespace velmora {

class ReadableWatch;

/// One connection to sway's IPC socket ($SWAYSOCK), read and written on the Qt event loop
/// without blocking it. Replies come back in the order the requests went out; events of the
/// kinds subscribed to arrive between them.
///
///     auto ipc = SwayIpc::connect(socketPath, error);
///     Subscription s = ipc->observeEvents([](std::uint32_t type, const nlohmann::json& body) {});
///     ipc->subscribe({"window"}, [](const nlohmann::json& reply) {});
///     ipc->runCommand("[con_id=12] move scratchpad");
///
/// A reply handler sees a discarded JSON value when the connection broke first.
class SwayIpc {
public:
    /// Request and event numbers of the i3 IPC protocol that sway speaks.
    enum Type : std::uint32_t {
        kRunCommand = 0,
        kSubscribe = 2,
        kGetTree = 4,
        kEventBit = 0x80000000u,
        kWindowEvent = kEventBit | 3,
    };
    using Reply = std::function<void(const nlohmann::json&)>;

    /// Nothing (and `error` set) when no sway listens at `socketPath`.
    static std::unique_ptr<SwayIpc> connect(const std::string& socketPath, std::string& error);
    ~SwayIpc();
    SwayIpc(const SwayIpc&) = delete;
    SwayIpc& operator=(const SwayIpc&) = delete;

    /// Runs sway commands; the reply lists one {"success": ...} per command.
    void runCommand(const std::string& commands, Reply reply = {});
    void getTree(Reply reply);
    void subscribe(const std::vector<std::string>& events, Reply reply = {});
    /// Sends a request of any type.
    void send(std::uint32_t type, const std::string& payload, Reply reply);

    [[nodiscard]] bool isConnected() const { return fd_ >= 0; }
    /// Every event, with its type (kWindowEvent, ...) and body.
    [[nodiscard]] Subscription
    observeEvents(std::function<void(std::uint32_t, const nlohmann::json&)> handler) {
        return events_.connect(std::move(handler));
    }
    /// sway closed the connection (it ended) or spoke something else than its protocol.
    [[nodiscard]] Subscription observeLost(std::function<void()> handler) {
        return lost_.connect(std::move(handler));
    }

private:
    explicit SwayIpc(int fd);
    void readAvailable();
    void writePending();
    void drop();

    int fd_;
    std::string input_;
    std::string output_;
    std::deque<Reply> replies_;
    std::unique_ptr<ReadableWatch> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    LifetimeToken lifetime_;
    Signal<std::uint32_t, const nlohmann::json&> events_;
    Signal<> lost_;
};

} // namespace velmora
