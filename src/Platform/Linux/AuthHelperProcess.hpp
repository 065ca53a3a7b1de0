#pragma once

#include "Platform/Linux/LaterDeleted.hpp"
#include "Support/Lifetime.hpp"

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace velmora {

/// The authentication helper as a child process: its stdin and stdout are one socket to
/// Velmora, read through the Qt event loop of the calling thread; its stderr goes nowhere.
///
///     auto helper = AuthHelperProcess::start(path, {"velmora"}, {
///         .onLine = [](std::string_view line) { ... },
///         .onUnreadableOutput = [] { ... },
///         .onExit = [](int waitStatus) { ... },
///     });
///     helper->send(answer.view());
///
/// Handlers run on that thread and may destroy the process object. Destroying it kills the
/// helper and collects it.
class AuthHelperProcess {
public:
    struct Handlers {
        /// One line of output, without its line break.
        std::function<void(std::string_view line)> onLine;
        /// Output that cannot be a line of the protocol (too long).
        std::function<void()> onUnreadableOutput;
        /// The helper ended, with its status as waitpid(2) gives it; after its last line.
        std::function<void(int waitStatus)> onExit;
    };

    /// Nothing when `program` cannot be started (missing, not executable).
    [[nodiscard]] static std::unique_ptr<AuthHelperProcess>
    start(const std::string& program, const std::vector<std::string>& arguments, Handlers handlers);

    ~AuthHelperProcess();
    AuthHelperProcess(const AuthHelperProcess&) = delete;
    AuthHelperProcess& operator=(const AuthHelperProcess&) = delete;

    /// Writes all of `bytes` to the helper's stdin without waiting; false when it cannot
    /// (the helper is gone or not reading).
    [[nodiscard]] bool send(std::string_view bytes);
    /// Kills the helper now and collects it; no handler runs after this.
    void stop();

private:
    AuthHelperProcess(pid_t pid, int socket, int pidFd, Handlers handlers);

    void readOutput();
    void collect();

    pid_t pid_;
    int socket_;
    int pidFd_;
    Handlers handlers_;
    std::string pending_;
    bool running_ = true;
    LaterDeleted<QSocketNotifier> outputNotifier_;
    LaterDeleted<QSocketNotifier> exitNotifier_;
    /// Lets a handler destroy this object while output is being delivered.
    LifetimeToken lifetime_;
};

} // namespace velmora
