#include "Platform/Linux/Wayland/SwayIpc.hpp"

#include "Platform/Linux/ReadableWatch.hpp"
#include "Platform/Linux/Wayland/SwayIpcMessage.hpp"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora {

std::unique_ptr<SwayIpc> SwayIpc::connect(const std::string& socketPath, std::string& error) {
    sockaddr_un address{};
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        error = "no sway IPC socket";
        return nullptr;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = "cannot reach sway at " + socketPath + ": " + std::strerror(errno);
        if (fd >= 0) {
            ::close(fd);
        }
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<SwayIpc>(new SwayIpc(fd));
}

SwayIpc::SwayIpc(int fd)
    : fd_(fd), readable_(std::make_unique<ReadableWatch>(fd, [this] { readAvailable(); })),
      writable_(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write)) {
    writable_->setEnabled(false);
    QObject::connect(writable_.get(), &QSocketNotifier::activated, writable_.get(),
                     [this] { writePending(); });
}

SwayIpc::~SwayIpc() {
    lifetime_.end();
    readable_.reset();
    writable_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void SwayIpc::runCommand(const std::string& commands, Reply reply) {
    send(kRunCommand, commands, std::move(reply));
}

void SwayIpc::getTree(Reply reply) {
    send(kGetTree, {}, std::move(reply));
}

void SwayIpc::subscribe(const std::vector<std::string>& events, Reply reply) {
    send(kSubscribe, nlohmann::json(events).dump(), std::move(reply));
}

void SwayIpc::send(std::uint32_t type, const std::string& payload, Reply reply) {
    if (fd_ < 0) {
        if (reply) {
            reply(nlohmann::json::value_t::discarded);
        }
        return;
    }
    output_.append(sway::encodeMessage(type, payload));
    replies_.push_back(std::move(reply));
    writePending();
}

void SwayIpc::writePending() {
    while (!output_.empty() && fd_ >= 0) {
        const ssize_t written = ::send(fd_, output_.data(), output_.size(), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        if (written <= 0) {
            drop();
            return;
        }
        output_.erase(0, static_cast<std::size_t>(written));
    }
    if (writable_) {
        writable_->setEnabled(!output_.empty() && fd_ >= 0);
    }
}

void SwayIpc::readAvailable() {
    char buffer[65536];
    bool closed = false;
    while (!closed) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got > 0) {
            input_.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        // What came before the end is still sway's.
        closed = true;
    }
    const auto alive = lifetime_.watch();
    bool malformed = false;
    while (auto message = sway::takeMessage(input_, malformed)) {
        const auto body = nlohmann::json::parse(message->body, nullptr, false);
        if ((message->type & kEventBit) != 0) {
            events_.emit(message->type, body);
        } else if (!replies_.empty()) {
            const Reply reply = std::move(replies_.front());
            replies_.pop_front();
            if (reply) {
                reply(body);
            }
        }
        if (alive.ended() || fd_ < 0) {
            return;
        }
    }
    if (closed || malformed) {
        drop();
    }
}

void SwayIpc::drop() {
    if (fd_ < 0) {
        return;
    }
    readable_->setEnabled(false);
    writable_->setEnabled(false);
    ::close(fd_);
    fd_ = -1;
    output_.clear();
    input_.clear();
    const auto alive = lifetime_.watch();
    auto replies = std::move(replies_);
    replies_.clear();
    for (const Reply& reply : replies) {
        if (reply) {
            reply(nlohmann::json::value_t::discarded);
        }
        if (alive.ended()) {
            return;
        }
    }
    lost_.emit();
}

} // namespace velmora
