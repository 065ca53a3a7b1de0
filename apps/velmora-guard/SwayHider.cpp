#include "SwayHider.hpp"

#include "Platform/Linux/Wayland/SwayIpcMessage.hpp"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr std::uint32_t kRunCommand = 0;
constexpr std::uint32_t kSubscribe = 2;
constexpr std::uint32_t kGetTree = 4;
constexpr int kReplyTimeoutMs = 1000;

int connectTo(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return -1;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string text(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

// A Wayland window names its application by app_id; an Xwayland one by its X11 class.
WindowIdentity identityOf(const nlohmann::json& node) {
    WindowIdentity identity;
    if (const std::string appId = text(node, "app_id"); !appId.empty()) {
        identity.gtkApplicationId = appId;
        identity.wmClassClass = appId;
    }
    if (const auto properties = node.find("window_properties"); properties != node.end()) {
        identity.wmClassInstance = text(*properties, "instance");
        identity.wmClassClass = text(*properties, "class");
    }
    return identity;
}

void collectShown(const nlohmann::json& node, std::vector<const nlohmann::json*>& windows) {
    if (!node.is_object() || text(node, "name") == "__i3_scratch") {
        return;
    }
    if (node.contains("pid") && node["pid"].is_number() && node.contains("id")) {
        windows.push_back(&node);
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        if (const auto found = node.find(children); found != node.end() && found->is_array()) {
            for (const auto& child : *found) {
                collectShown(child, windows);
            }
        }
    }
}

} // namespace

std::unique_ptr<SwayHider> SwayHider::connect(const std::string& socketPath) {
    const int commands = connectTo(socketPath);
    const int events = connectTo(socketPath);
    if (commands < 0 || events < 0) {
        for (const int fd : {commands, events}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
        return nullptr;
    }
    std::unique_ptr<SwayHider> hider(new SwayHider(commands, events));
    if (!sendAll(events, sway::encodeMessage(kSubscribe, R"(["window"])"))) {
        return nullptr;
    }
    ::fcntl(events, F_SETFL, ::fcntl(events, F_GETFL) | O_NONBLOCK);
    return hider;
}

SwayHider::~SwayHider() {
    ::close(commands_);
    ::close(events_);
}

std::string SwayHider::request(std::uint32_t type, const std::string& body) {
    if (failed_ || !sendAll(commands_, sway::encodeMessage(type, body))) {
        failed_ = true;
        return {};
    }
    std::string input;
    bool malformed = false;
    for (;;) {
        if (auto message = sway::takeMessage(input, malformed)) {
            return message->body;
        }
        pollfd readable{commands_, POLLIN, 0};
        char buffer[65536];
        const ssize_t got = malformed || ::poll(&readable, 1, kReplyTimeoutMs) <= 0
                                ? -1
                                : ::read(commands_, buffer, sizeof buffer);
        if (got <= 0) {
            failed_ = true;
            return {};
        }
        input.append(buffer, static_cast<std::size_t>(got));
    }
}

int SwayHider::hide(const std::vector<ProcessId>& pids,
                    const std::vector<ApplicationIdentities>& applications) {
    const auto tree = nlohmann::json::parse(request(kGetTree, ""), nullptr, false);
    std::vector<const nlohmann::json*> windows;
    collectShown(tree, windows);
    std::string commands;
    int hidden = 0;
    for (const nlohmann::json* window : windows) {
        const auto pid = (*window)["pid"].get<ProcessId>();
        if (std::find(pids.begin(), pids.end(), pid) == pids.end() &&
            (applications.empty() || !owningApplication(identityOf(*window), applications))) {
            continue;
        }
        commands += "[con_id=" + std::to_string((*window)["id"].get<std::int64_t>()) +
                    "] move scratchpad; ";
        ++hidden;
    }
    if (hidden > 0) {
        request(kRunCommand, commands);
    }
    return hidden;
}

bool SwayHider::readEvents() {
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(events_, buffer, sizeof buffer)) > 0) {
        eventInput_.append(buffer, static_cast<std::size_t>(got));
    }
    if (got == 0) {
        failed_ = true;
    }
    bool malformed = false;
    bool any = false;
    while (sway::takeMessage(eventInput_, malformed)) {
        any = true;
    }
    failed_ = failed_ || malformed;
    return any;
}

} // namespace velmora
