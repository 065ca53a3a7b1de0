#pragma once

#include "Platform/HostApplication.hpp"
#include "Support/RunLoop.hpp"

#include <memory>

namespace velmora {

/// The program's `NSApplication`. Its delegate is reached through a small Objective-C
/// forwarder; when another toolkit (Qt) already owns the application delegate, the
/// forwarder is handed to it as the delegate it passes unhandled calls to. The menu bar's
/// status item window is not counted among the program's windows. Main thread only.
///
///     auto app = std::make_shared<MacHostApplication>(runLoop);
///     app->setDelegate(delegate);   // before the event loop starts
class MacHostApplication final : public HostApplication {
public:
    explicit MacHostApplication(std::shared_ptr<RunLoop> runLoop);
    ~MacHostApplication() override;

    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override;
    [[nodiscard]] std::vector<AppWindow> windows() const override;

    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override;
    void setActivationPolicy(ActivationPolicy policy) override;
    void activateIgnoringOtherApps() override;

    void setWindowLevel(int windowId, WindowLevel level) override;
    void makeKeyAndOrderFront(int windowId) override;

    void terminate() override;
    void replyToApplicationShouldTerminate(bool shouldTerminate) override;

    [[nodiscard]] Subscription observeDidBecomeActive(EventHandler handler) override;

private:
    struct Forwarder;

    std::shared_ptr<RunLoop> runLoop_;
    std::unique_ptr<Forwarder> forwarder_;
};

} // namespace velmora
