#pragma once

#include "Support/ProcessId.hpp"
#include "Support/Subscription.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// How an application takes part in the desktop: with a Dock icon and menus (`regular`), as a
/// menu-bar or helper utility that may still come to the front (`accessory`), or never
/// (`prohibited`, background agents).
enum class ActivationPolicy { regular, accessory, prohibited };

/// A snapshot of one running application as the workspace reported it.
struct RunningApplication {
    std::optional<std::string> bundleIdentifier{};
    ProcessId processIdentifier = 0;
    std::optional<std::string> localizedName{};
    /// Path of the application's bundle on disk.
    std::optional<std::string> bundleLocation{};
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    bool isTerminated = false;
    /// When the process started, in the system's own units; only compared for equality, so
    /// that a process is told from a later one that reuses its identifier. Absent when the
    /// system cannot tell.
    std::optional<std::uint64_t> startTime{};

    friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

/// The desktop's applications: which one is in front, which are running, and bringing them
/// forward or hiding them.
///
///     Subscription s = workspace.observeDidActivateApplication(
///         [](const std::optional<RunningApplication>& app) { ... });
///     workspace.activate(app.processIdentifier);
///
/// Notifications are delivered on the main queue (through the `RunLoop`), never inside the
/// call that caused them.
class WorkspaceProviding {
public:
    /// The application the notification names, when it names one.
    using ActivationHandler = std::function<void(const std::optional<RunningApplication>&)>;
    using TerminationHandler = std::function<void(const std::optional<RunningApplication>&)>;
    using SystemEventHandler = std::function<void()>;

    virtual ~WorkspaceProviding() = default;

    [[nodiscard]] virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    /// In the order the desktop lists them.
    [[nodiscard]] virtual std::vector<RunningApplication> runningApplications() const = 0;
    /// The running application with this process identifier.
    [[nodiscard]] virtual std::optional<RunningApplication>
    runningApplication(ProcessId pid) const = 0;

    /// Brings the application to the front. False when the desktop refused (no such process,
    /// or one that may not come forward).
    virtual bool activate(ProcessId pid) = 0;
    /// Hides the application's windows. False when there is no such process.
    virtual bool hide(ProcessId pid) = 0;

    /// An application came to the front.
    [[nodiscard]] virtual Subscription observeDidActivateApplication(ActivationHandler handler) = 0;
    /// An application ended.
    [[nodiscard]] virtual Subscription
    observeDidTerminateApplication(TerminationHandler handler) = 0;
    /// The system is about to sleep.
    [[nodiscard]] virtual Subscription observeWillSleep(SystemEventHandler handler) = 0;
    /// The displays went to sleep.
    [[nodiscard]] virtual Subscription observeScreensDidSleep(SystemEventHandler handler) = 0;
    /// The displays woke up.
    [[nodiscard]] virtual Subscription observeScreensDidWake(SystemEventHandler handler) = 0;
};

} // namespace velmora
