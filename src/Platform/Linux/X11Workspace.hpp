#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Linux/ReadableWatch.hpp"
#include "Platform/Linux/SessionEventSource.hpp"
#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Support/Logging.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora {

/// The desktop's applications on X11 with an EWMH window manager: a running application is
/// a process that owns at least one managed window; its identity comes from its desktop
/// entry; the frontmost one owns `_NET_ACTIVE_WINDOW`; it terminates when its process ends.
/// A window that any rule names a protected application for belongs to that application,
/// whatever another entry claims: a desktop entry made later cannot take a window out of
/// protection.
///
///     auto workspace = std::make_shared<X11Workspace>(X11Workspace::Dependencies{
///         connection, clients, runLoop, directory, sessionEvents, logger,
///         "com.tovren.velmora"});
///     Subscription s = workspace->observeDidActivateApplication(onActivate);
class X11Workspace final : public WorkspaceProviding {
public:
    struct Dependencies {
        std::shared_ptr<XcbConnection> connection;
        std::shared_ptr<X11ClientList> clients;
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

    explicit X11Workspace(Dependencies dependencies);
    ~X11Workspace() override;

    [[nodiscard]] std::optional<RunningApplication> frontmostApplication() const override;
    [[nodiscard]] std::vector<RunningApplication> runningApplications() const override;
    [[nodiscard]] std::optional<RunningApplication>
    runningApplication(ProcessId pid) const override;

    bool activate(ProcessId pid) override;
    bool hide(ProcessId pid) override;

    [[nodiscard]] Subscription observeDidActivateApplication(ActivationHandler handler) override;
    [[nodiscard]] Subscription observeDidTerminateApplication(TerminationHandler handler) override;
    [[nodiscard]] Subscription observeWillSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidWake(SystemEventHandler handler) override;

private:
    using ApplicationSignal = Signal<const std::optional<RunningApplication>&>;
    struct ProcessWatch {
        int pidfd = -1;
        std::unique_ptr<ReadableWatch> watch;
    };

    void rebuildApplications();
    RunningApplication describe(ProcessId pid, const std::vector<const X11ClientList::Client*>&);
    void watchProcess(ProcessId pid);
    void processEnded(ProcessId pid);
    void handleEvent(const xcb_generic_event_t& event);
    void readActiveWindow(bool announce);
    void forgetFrontmost(ProcessId pid);
    std::vector<xcb_window_t> windowsOf(ProcessId pid) const;
    bool isIconic(xcb_window_t window) const;
    void startDisplayPowerPolling();
    void pollDisplayPower(bool announce);
    void post(const std::shared_ptr<ApplicationSignal>& signal,
              std::optional<RunningApplication> app);
    void post(const std::shared_ptr<Signal<>>& signal);

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
    bool hasDisplayPower_ = false;
    bool displaysOn_ = true;
    TimerHandle displayPowerTimer_;

    std::shared_ptr<ApplicationSignal> didActivate_ = std::make_shared<ApplicationSignal>();
    std::shared_ptr<ApplicationSignal> didTerminate_ = std::make_shared<ApplicationSignal>();
    std::shared_ptr<Signal<>> willSleep_ = std::make_shared<Signal<>>();
    std::shared_ptr<Signal<>> screensDidSleep_ = std::make_shared<Signal<>>();
    std::shared_ptr<Signal<>> screensDidWake_ = std::make_shared<Signal<>>();
    Subscription clientChanges_;
    Subscription events_;
    Subscription sessionWillSleep_;
    Subscription protectionChanges_;
};

} // namespace velmora
