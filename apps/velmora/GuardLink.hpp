#pragma once

#include "GuardProcess.hpp"
#include "Platform/Linux/GuardProtocol.hpp"
#include "Platform/Linux/RestartLimiter.hpp"
#include "Support/Observable.hpp"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QTimer;

namespace velmora {

class ChildSignals;
class ReadableWatch;

/// Velmora's side of `velmora-guard`: adopts the guard that started this Velmora after a
/// crash, or starts one, and reports to it from the event loop, so that a crash, a kill or a
/// hung loop leaves protected applications iconified and Velmora started again.
///
///     GuardLink guard;                                // adopts an inherited channel at once
///     guard.watch(isCovering, protectedApplications); // once the platform is installed
///     QApplication::exec();
///     if (quitByOwner) { guard.quit(); }              // anything else counts as a crash
///
/// The two watch each other: a guard that ends, is stopped or leaves a report unanswered for
/// kHeartbeatTimeout is ended and replaced at once (at most 5 times a minute), with a
/// warning in the log. A guard of this Velmora's own is known to be stopped the moment it
/// stops, since stopping it and then Velmora is the way around both; an adopted one, at the
/// next heartbeat. `guardAnswers()` says whether one answers now; until one does,
/// nothing would keep protected applications out of reach should Velmora die.
class GuardLink {
public:
    using CoverageCheck = std::function<bool()>;
    using ProtectedApplications = std::function<std::vector<ApplicationIdentities>()>;

    static constexpr std::size_t maxGuardStarts = 5;
    static constexpr std::chrono::seconds guardStartWindow{60};

    GuardLink();
    ~GuardLink();
    GuardLink(const GuardLink&) = delete;
    GuardLink& operator=(const GuardLink&) = delete;

    /// Starts a guard unless one was adopted, and reports to it every heartbeat: the running
    /// protected processes and what names the protected applications' windows, while
    /// `isCovering`.
    void watch(CoverageCheck isCovering, ProtectedApplications applications);
    /// The owner quit: the guard ends without starting Velmora again. Nothing else says so.
    void quit();

    /// A guard started this Velmora, in place of one that died.
    [[nodiscard]] bool wasStartedByGuard() const { return startedByGuard_; }
    /// True while a guard answers the reports.
    [[nodiscard]] Observable<bool>& guardAnswers() { return guardAnswers_; }

private:
    using Clock = std::chrono::steady_clock;

    bool startGuard();
    void heartbeat();
    /// Collects ended guards, and replaces the guard if it is stopped.
    void checkGuards();
    void report();
    void readAnswers();
    /// Ends the guard (`why` it is no good, for the log) and starts another when allowed.
    void replaceGuard(std::string_view why);
    void closeChannel();
    bool send(const std::string& lines);

    const bool startedByGuard_;
    int channel_ = -1;
    std::optional<GuardProcess> guard_;
    /// Ended guards of this Velmora's own, until they are collected.
    std::vector<GuardProcess> ending_;
    std::unique_ptr<ReadableWatch> answers_;
    /// When the oldest report the guard has not answered yet was sent.
    std::optional<Clock::time_point> unansweredSince_;
    Observable<bool> guardAnswers_{false};
    RestartLimiter limiter_{maxGuardStarts, guardStartWindow};
    CoverageCheck isCovering_;
    ProtectedApplications applications_;
    std::unique_ptr<QTimer> heartbeat_;
    std::unique_ptr<ChildSignals> children_;
};

} // namespace velmora
