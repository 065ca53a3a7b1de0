#pragma once

#include "Platform/Linux/Wayland/CompositorBridge.hpp"
#include "Platform/Linux/Wayland/KWinProtocol.hpp"
#include "Support/Lifetime.hpp"
#include "Support/Logging.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

class QDBusServiceWatcher;

namespace velmora {

/// Velmora's end of its KWin script: loads the script into the compositor of this session,
/// answers it on the session bus, keeps what it reports (every window, the active one) and
/// hands it Velmora's commands, gathered per turn of the main loop.
///
///     auto bridge = KWinBridge::connect(QDBusConnection::sessionBus(), scriptPath, runLoop,
///                                       logger, error);
///     if (!bridge) { fail(error); }
///     Subscription s = bridge->observeWindows([&] { look(bridge->windows()); });
///     bridge->send(kwin::hide(number));
///     bridge->shutDown();   // before quitting: every window released, the script unloaded
///
/// Only KWin itself is listened to. A script that speaks another protocol version is
/// refused and unloaded.
class KWinBridge final : public QDBusVirtualObject, public CompositorBridge {
    Q_OBJECT

public:
    /// Loads the script and waits for its first report; nothing (and `error` set) when KWin
    /// is not on the bus, the script does not start, or it speaks another version.
    static std::shared_ptr<KWinBridge> connect(QDBusConnection bus, const QString& scriptPath,
                                               std::shared_ptr<RunLoop> runLoop,
                                               std::shared_ptr<Logging> logger, std::string& error);
    ~KWinBridge() override;

    /// Queues a command; the commands of one turn reach the script together, in order.
    void send(QVariantMap command) override;
    /// Releases every window and unloads the script.
    void shutDown() override;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    KWinBridge(QDBusConnection bus, std::shared_ptr<RunLoop> runLoop,
               std::shared_ptr<Logging> logger);
    bool load(const QString& scriptPath, std::string& error);
    bool waitForHello(std::string& error);
    void unload();
    void hello(const QDBusMessage& message);
    void facts(const QDBusMessage& message);
    void commandsAsked(const QDBusMessage& message);
    void scheduleSending();
    void sendCommands();

    QDBusConnection bus_;
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<Logging> logger_;
    QString kwinOwner_;
    bool greeted_ = false;
    bool farewellHeard_ = false;
    std::optional<std::string> refusal_;
    QVariantList queued_;
    bool sendingScheduled_ = false;
    std::optional<QDBusMessage> pendingAsk_;
    QTimer keepAlive_;
    std::unique_ptr<QDBusServiceWatcher> kwinWatcher_;
    LifetimeToken lifetime_;
};

} // namespace velmora
