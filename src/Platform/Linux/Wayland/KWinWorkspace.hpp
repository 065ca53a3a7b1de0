#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Linux/ReadableWatch.hpp"
#include "Platform/Linux/SessionEventSource.hpp"
#include "Platform/Linux/Wayland/CompositorBridge.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Support/Logging.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora {

/// The desktop's applications on KDE Plasma's Wayland session, from what Velmora's KWin
/// script reports: a running application is a process that owns at least one window (native
/// or through XWayland); its identity comes from its desktop entry, found by the window's
/// desktop file name or its class; the frontmost one owns the active window; it terminates
/// when its process ends.
///
///     auto workspace = std::make_shared<KWinWorkspace>(KWinWorkspace::Dependencies{
///         bridge, runLoop, directory, sessionEvents, logger, "com.tovren.velmora"});
///     Subscription s = workspace->observeDidActivateApplication(onActivate);
class KWinWorkspace final : public WorkspaceProviding {
public:
    struct Dependencies {
        std::shared_ptr<CompositorBridge> bridge;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<const ApplicationDirectory> directory;
        /// May be null: no will-sleep notifications then.
        std::shared_ptr<SessionEventSource> sessionEvents;
        std::shared_ptr<Logging> logger;
        /// The bundle identifier this program's own process reports.
        std::string ownBundleIdentifier;
        /// May be null: no application is protected then.
        std::shared_ptr<Observable<std::vector<ApplicationIdentities>>> protectedApplications{};
    };

    explicit KWinWorkspace(Dependencies dependencies);
    ~KWinWorkspace() override;

    [[nodiscard]] std::optional<RunningApplication> frontmostApplication() const override;
    [[nodiscard]] std::vector<RunningApplication> runningApplications() const override;
    [[nodiscard]] std::optional<RunningApplication>
    runningApplication(ProcessId pid) const override;

    bool activate(ProcessId pid) override;
    bool hide(ProcessId pid) override;

    [[nodiscard]] Subscription observeDidActivateApplication(ActivationHandler handler) override;
    [[nodiscard]] Subscription observeDidTerminateApplication(TerminationHandler handler) override;
    [[nodiscard]] Subscription observeWillSleep(SystemEventHandler handler) override;
    /// The compositor does not tell of display power: these never come.
    [[nodiscard]] Subscription observeScreensDidSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidWake(SystemEventHandler handler) override;

private:
    using ApplicationSignal = Signal<const std::optional<RunningApplication>&>;
    struct ProcessWatch {
        int pidfd = -1;
        std::unique_ptr<ReadableWatch> watch;
    };

    void rebuildApplications();
    void readActiveWindow();
    /// `pid` no longer in front, or with no `pid` whatever was.
    void forgetFrontmost(std::optional<ProcessId> pid);
    [[nodiscard]] RunningApplication describe(ProcessId pid,
                                              const std::vector<const kwin::Window*>& owned) const;
    [[nodiscard]] std::vector<const kwin::Window*> windowsOf(ProcessId pid) const;
    void watchProcess(ProcessId pid);
    void processEnded(ProcessId pid);
    void post(const std::shared_ptr<ApplicationSignal>& signal,
              std::optional<RunningApplication> app);

    Dependencies d_;
    const ProcessId ownPid_;
    std::vector<RunningApplication> applications_;
    /// Every process announced, also those whose windows are gone, until it ends.
    std::map<ProcessId, RunningApplication> lastKnown_;
    std::map<ProcessId, ProcessWatch> watches_;
    /// Processes that cannot be watched: they end with their last window.
    std::set<ProcessId> unwatchable_;
    /// Ended processes whose windows may still be listed for a moment.
    std::set<ProcessId> ended_;
    std::optional<ProcessId> frontmost_;

    std::shared_ptr<ApplicationSignal> didActivate_ = std::make_shared<ApplicationSignal>();
    std::shared_ptr<ApplicationSignal> didTerminate_ = std::make_shared<ApplicationSignal>();
    std::shared_ptr<Signal<>> willSleep_ = std::make_shared<Signal<>>();
    Signal<> never_;
    Subscription windowChanges_;
    Subscription activation_;
    Subscription sessionWillSleep_;
    Subscription protectionChanges_;
};

} // namespace velmora
