#pragma once

#include "Platform/Linux/GuardProtocol.hpp"
#include "Platform/Linux/RestartLimiter.hpp"
#include "WindowIconifier.hpp"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// Watches one Velmora after another over their channels, answering each report. When one
/// ends without saying "quit", or stops answering, it iconifies the protected processes that
/// Velmora last reported and every window of the protected applications it named, closes
/// their menus, keeps them iconified (new ones included; covered where the window manager
/// refuses), and starts Velmora again, which locks everything anew; once the new Velmora
/// reports that it covers, the windows are its business again.
///
///     Guard guard(log, *iconifier, {"/usr/bin/velmora"}, velmoraPid, channel);
///     return guard.run();
class Guard {
public:
    using Clock = RestartLimiter::Clock;

    /// `channel` is the guard's end of the running Velmora's channel; `command` starts
    /// Velmora again.
    Guard(Logging& log, WindowIconifier& windows, std::vector<std::string> command,
          ProcessId velmora, int channel);

    /// Returns once Velmora quits (0) or the X session is gone (1).
    int run();

private:
    enum class Heard { nothing, quit, ended };

    [[nodiscard]] int pollTimeout(Clock::time_point now) const;
    /// Asks for the windows to be iconified and looks again a moment later.
    int iconify();
    void coverUnhidden();
    Heard readChannel();
    void handle(const guard::GuardMessage& message);
    void answer();
    void velmoraHung();
    void velmoraEnded(std::string_view how);
    void startVelmora();
    void awaitChannelEnd();
    void closeChannel();

    Logging& log_;
    WindowIconifier& windows_;
    std::vector<std::string> command_;
    ProcessId velmora_;
    int channel_;
    std::string received_;
    std::optional<Clock::time_point> lastHeard_;
    std::vector<ProcessId> watched_;
    std::vector<ApplicationIdentities> protected_;
    bool guarding_ = false;
    std::optional<Clock::time_point> restartAt_;
    std::optional<Clock::time_point> verifyAt_;
    RestartLimiter limiter_;
};

} // namespace velmora
