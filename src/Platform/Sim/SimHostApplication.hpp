#pragma once

#include "Platform/HostApplication.hpp"
#include "Platform/KeyWindowClosing.hpp"
#include "Platform/TerminationNegotiation.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <cstddef>
#include <memory>

namespace velmora {

class SimWorkspace;

/// The simulated program itself: its bundle identifier, windows, activation and life.
///
///     SimHostApplication app(loop);
///     app.setDelegate(delegate);
///     app.finishLaunching();                 // the delegate's start-up runs
///     int settings = app.openWindow(AppWindowKind::standard, false);
///     app.setActive(true);                   // observers hear of it on the next turn
///     app.terminate();                       // asks the delegate; see isTerminated()
///
/// On its own it keeps its active state itself. Joined to a simulated workspace as one of
/// its processes, it is active exactly while that process is in front there, activating it
/// brings the process forward, and ending it quits the process.
class SimHostApplication final : public HostApplication, public KeyWindowClosing {
public:
    explicit SimHostApplication(RunLoop& runLoop,
                                std::optional<std::string> bundleIdentifier = "com.tovren.velmora");

    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override {
        return bundleIdentifier_;
    }
    [[nodiscard]] std::vector<AppWindow> windows() const override { return windows_; }
    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override {
        delegate_ = std::move(delegate);
    }
    void setActivationPolicy(ActivationPolicy policy) override { activationPolicy_ = policy; }
    void activateIgnoringOtherApps() override;
    void setWindowLevel(int windowId, WindowLevel level) override;
    void makeKeyAndOrderFront(int windowId) override;
    void terminate() override;
    void replyToApplicationShouldTerminate(bool shouldTerminate) override;
    [[nodiscard]] Subscription observeDidBecomeActive(EventHandler handler) override;
    void closeKeyWindow() override;

    /// Follows `workspace`, where the program runs as process `pid`.
    void joinWorkspace(const std::shared_ptr<SimWorkspace>& workspace, ProcessId pid);

    /// Tells the delegate that launching finished.
    void finishLaunching();
    /// The user switched to the program (true) or away from it (false).
    void setActive(bool active);

    /// Opens a window of the program and returns its id.
    int openWindow(AppWindowKind kind, bool visible = true);
    void closeWindow(int id);
    void setWindowVisible(int id, bool visible);
    [[nodiscard]] std::optional<AppWindow> window(int id) const;

    [[nodiscard]] bool isActive() const { return active_; }
    [[nodiscard]] ActivationPolicy activationPolicy() const { return activationPolicy_; }
    [[nodiscard]] std::size_t activateIgnoringOtherAppsCount() const { return activateCount_; }
    /// The window that has the keyboard, if any.
    [[nodiscard]] std::optional<int> keyWindowId() const { return keyWindowId_; }
    /// Every window id given to `makeKeyAndOrderFront`, in call order.
    [[nodiscard]] const std::vector<int>& orderedFront() const { return orderedFront_; }
    [[nodiscard]] std::size_t terminationRequestCount() const { return terminationRequests_; }
    /// A request waits for the delegate's deferred reply.
    [[nodiscard]] bool isTerminationPending() const { return termination_.isPending(); }
    [[nodiscard]] bool isTerminated() const { return termination_.hasEnded(); }

private:
    AppWindow* find(int id);
    void endProgram();

    RunLoop& runLoop_;
    std::optional<std::string> bundleIdentifier_;
    std::weak_ptr<ApplicationDelegate> delegate_;
    std::vector<AppWindow> windows_;
    int nextId_ = 1;
    ActivationPolicy activationPolicy_ = ActivationPolicy::regular;
    bool active_ = false;
    std::size_t activateCount_ = 0;
    std::optional<int> keyWindowId_;
    std::vector<int> orderedFront_;
    std::size_t terminationRequests_ = 0;
    TerminationNegotiation termination_{[this] { endProgram(); }};
    std::weak_ptr<SimWorkspace> workspace_;
    ProcessId pid_ = 0;
    Subscription workspaceActivations_;
    // Shared with queued deliveries, which may run after the application object is gone.
    std::shared_ptr<Signal<>> didBecomeActive_ = std::make_shared<Signal<>>();
};

} // namespace velmora
