#pragma once

#include "Platform/WorkspaceProviding.hpp"
#include "Support/Subscription.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

using WindowLevel = int;
inline constexpr WindowLevel kNormalWindowLevel = 0;
/// Kept above ordinary windows, below modal panels.
inline constexpr WindowLevel kFloatingWindowLevel = 3;

enum class AppWindowKind { standard, openPanel, savePanel };

/// One of the program's own windows (its panel, settings window, file pickers).
struct AppWindow {
    int id = 0;
    AppWindowKind kind = AppWindowKind::standard;
    bool visible = false;
    WindowLevel level = kNormalWindowLevel;
};

/// The program's answer to a request to end it.
enum class TerminateReply { cancel = 0, now = 1, later = 2 };

/// The program's side of its own life, told by the application object.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual void applicationDidFinishLaunching() = 0;
    /// Asked for every request to end the program, whatever its origin. After `later` the
    /// request stays pending until `HostApplication::replyToApplicationShouldTerminate`.
    virtual TerminateReply applicationShouldTerminate() = 0;
    /// The last word before the process ends.
    virtual void applicationWillTerminate() = 0;
};

/// The program's own application object.
///
///     app.setDelegate(delegate);
///     app.setActivationPolicy(ActivationPolicy::accessory);
///     for (const AppWindow& w : app.windows()) { app.makeKeyAndOrderFront(w.id); }
///     app.terminate();   // asks the delegate first
///
/// Notifications are delivered on the main queue, never inside the call that caused them.
class HostApplication {
public:
    using EventHandler = std::function<void()>;

    virtual ~HostApplication() = default;

    /// The program's bundle identifier; absent when it runs outside a bundle.
    [[nodiscard]] virtual std::optional<std::string> bundleIdentifier() const = 0;
    /// Every window the program has, visible or not.
    [[nodiscard]] virtual std::vector<AppWindow> windows() const = 0;

    /// Held weakly.
    virtual void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) = 0;
    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    /// Brings the program to the front even while another application is in use.
    virtual void activateIgnoringOtherApps() = 0;

    /// Window operations name a window by its id; an id that names no window is ignored.
    virtual void setWindowLevel(int windowId, WindowLevel level) = 0;
    /// Shows the window in front of the program's others and gives it the keyboard.
    virtual void makeKeyAndOrderFront(int windowId) = 0;

    /// Asks to end the program; the delegate decides.
    virtual void terminate() = 0;
    /// Answers a request the delegate deferred with `TerminateReply::later`.
    virtual void replyToApplicationShouldTerminate(bool shouldTerminate) = 0;

    /// The program became the active application.
    [[nodiscard]] virtual Subscription observeDidBecomeActive(EventHandler handler) = 0;
};

} // namespace velmora
