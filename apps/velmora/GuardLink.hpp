#pragma once

#include "Platform/Linux/GuardProtocol.hpp"

#include <functional>
#include <memory>

class QTimer;

namespace velmora {

/// Velmora's side of `velmora-guard`: adopts the guard that started this Velmora after a
/// crash, or starts one, and reports to it from the event loop, so that a crash, a kill or a
/// hung loop leaves protected applications iconified and Velmora started again.
///
///     GuardLink guard;                    // adopts an inherited channel at once
///     guard.watch(isCovering);            // once the platform is installed
///     QApplication::exec();
///     if (quitByOwner) { guard.quit(); }  // anything else counts as a crash
class GuardLink {
public:
    using CoverageCheck = std::function<bool()>;

    GuardLink();
    ~GuardLink();
    GuardLink(const GuardLink&) = delete;
    GuardLink& operator=(const GuardLink&) = delete;

    /// Starts a guard unless one was adopted, and reports to it every heartbeat: the running
    /// protected processes while `isCovering`.
    void watch(CoverageCheck isCovering);
    /// The owner quit, or this start handed over to the running Velmora: the guard ends
    /// without starting Velmora again.
    void quit();

private:
    bool startGuard();
    void report();
    bool send(const guard::GuardMessage& message);

    int channel_ = -1;
    CoverageCheck isCovering_;
    std::unique_ptr<QTimer> heartbeat_;
};

} // namespace velmora
