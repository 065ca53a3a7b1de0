#pragma once

#include "Platform/HostApplication.hpp"
#include "Platform/TerminationNegotiation.hpp"
#include "Support/RunLoop.hpp"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

class QWindow;

namespace velmora {

/// The program itself on the Qt event loop: its own windows, activation and life.
///
///     auto app = std::make_shared<QtHostApplication>(runLoop);
///     QtHostApplication::setWindowKind(*promptWindow, AppWindowKind::standard);
///     app->setDelegate(delegate);
///     app->terminate();   // asks the delegate; ends the event loop once it agrees
///
/// Its windows are the Qt windows marked with `setWindowKind`; overlays are not among them.
/// A window's id is its X window id.
class QtHostApplication final : public HostApplication {
public:
    using QuitEventLoop = std::function<void()>;

    /// `quitEventLoop` ends the program's event loop; QCoreApplication::quit by default.
    explicit QtHostApplication(std::shared_ptr<RunLoop> runLoop, QuitEventLoop quitEventLoop = {});
    ~QtHostApplication() override;

    static constexpr const char* identifier = "com.tovren.velmora";

    /// Makes `window` one of the program's windows, of `kind`.
    static void setWindowKind(QWindow& window, AppWindowKind kind);

    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override {
        return identifier;
    }
    [[nodiscard]] std::vector<AppWindow> windows() const override;
    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override {
        delegate_ = std::move(delegate);
    }
    /// Without a Dock there is nothing to change: the program never shows in a task list
    /// beyond its own windows.
    void setActivationPolicy(ActivationPolicy) override {}
    void activateIgnoringOtherApps() override;
    void setWindowLevel(int windowId, WindowLevel level) override;
    void makeKeyAndOrderFront(int windowId) override;
    void terminate() override;
    void replyToApplicationShouldTerminate(bool shouldTerminate) override;
    [[nodiscard]] Subscription observeDidBecomeActive(EventHandler handler) override;

    [[nodiscard]] bool isTerminationPending() const { return termination_.isPending(); }
    [[nodiscard]] bool isTerminated() const { return termination_.hasEnded(); }

private:
    [[nodiscard]] QWindow* window(int windowId) const;

    std::shared_ptr<RunLoop> runLoop_;
    QuitEventLoop quitEventLoop_;
    std::weak_ptr<ApplicationDelegate> delegate_;
    TerminationNegotiation termination_{[this] { quitEventLoop_(); }};
    // Shared with queued deliveries, which may run after the application object is gone.
    std::shared_ptr<std::map<int, EventHandler>> activeObservers_ =
        std::make_shared<std::map<int, EventHandler>>();
    int nextObserverId_ = 0;
    QObject context_;
};

} // namespace velmora
