#pragma once

#include "Platform/Linux/Wayland/CompositorBridge.hpp"
#include "Platform/Linux/Wayland/SwayIpc.hpp"
#include "Support/Lifetime.hpp"
#include "Support/Logging.hpp"
#include "Support/RunLoop.hpp"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora {

/// Velmora's bridge to sway, over its IPC: the windows from sway's tree, refreshed on every
/// window event, and the KWin script's commands done with sway commands. Shields are
/// Velmora's own windows, floated, made sticky and placed over the window they shield; parked
/// off screen. A locked window is made fully transparent, so that nothing of it shows even
/// before its cover is placed, and the keyboard is handed to its shield as soon as sway
/// reports that it took the focus: one IPC round trip later.
///
///     auto bridge = SwayBridge::connect(getenv("SWAYSOCK"), runLoop, logger, error);
///     Subscription s = bridge->observeWindows([&] { look(bridge->windows()); });
///     bridge->send(kwin::place(token, number, frame, false));
class SwayBridge final : public CompositorBridge {
public:
    /// Nothing (and `error` set) when sway does not answer at `socketPath`.
    static std::shared_ptr<SwayBridge> connect(const std::string& socketPath,
                                               std::shared_ptr<RunLoop> runLoop,
                                               std::shared_ptr<Logging> logger, std::string& error);
    ~SwayBridge() override;

    void send(QVariantMap command) override;
    void shutDown() override;

private:
    struct Placement {
        WindowNumber over = 0;
        Rect frame;
        bool card = false;
    };

    SwayBridge(std::unique_ptr<SwayIpc> ipc, std::shared_ptr<RunLoop> runLoop,
               std::shared_ptr<Logging> logger);
    void refresh();
    void treeArrived(const nlohmann::json& tree);
    void windowEvent(const nlohmann::json& event);
    void adoptShields(const std::map<WindowNumber, std::string>& tokens);
    void sendCommands();
    void run(const QVariantMap& command);
    void place(const QString& token, const Placement& placement);
    void park(const QString& token);
    void lock(WindowNumber number);
    void release(WindowNumber number);
    void keepKeyboardAway(WindowNumber number);
    void raiseCards();
    [[nodiscard]] std::optional<WindowNumber> shield(const QString& token) const;
    [[nodiscard]] std::optional<WindowNumber> shieldOver(WindowNumber number) const;
    void command(WindowNumber number, const std::string& commands);
    void command(const std::string& text);

    std::unique_ptr<SwayIpc> ipc_;
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<Logging> logger_;
    const ProcessId ownPid_;
    bool treeKnown_ = false;
    bool refreshing_ = false;
    bool refreshAgain_ = false;
    /// Every shield window by its token, placed or parked.
    std::map<QString, WindowNumber> shields_;
    std::map<QString, Placement> placed_;
    std::map<QString, Placement> pending_;
    std::map<WindowNumber, QString> lastCover_;
    std::set<QString> provisional_;
    std::set<WindowNumber> locked_;
    std::optional<WindowNumber> focused_;
    /// The last window other than a shield that sway reported taking the focus.
    std::optional<WindowNumber> lastFocused_;
    std::vector<QVariantMap> queued_;
    bool sendingScheduled_ = false;
    Subscription events_;
    Subscription ipcLost_;
    LifetimeToken lifetime_;
};

} // namespace velmora
