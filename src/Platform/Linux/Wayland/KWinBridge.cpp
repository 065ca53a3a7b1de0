#include "Platform/Linux/Wayland/KWinBridge.hpp"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <unistd.h>

namespace velmora {
namespace {

const QString kKWinService = QStringLiteral("org.kde.KWin");
const QString kScriptName = QStringLiteral("velmora");
constexpr int kHelloTimeoutMs = 3000;
constexpr int kLoadAttempts = 3;
// KWin answers at once; a call that waits longer reached a script on its way out.
constexpr int kCallTimeoutMs = 2000;
constexpr int kGoodbyeTimeoutMs = 500;
// The script's calls time out after 25 s: a poll is answered well before.
constexpr int kKeepAliveMs = 10000;

QDBusMessage scripting(const char* method, QVariantList arguments) {
    auto message = QDBusMessage::createMethodCall(kKWinService, QStringLiteral("/Scripting"),
                                                  QStringLiteral("org.kde.kwin.Scripting"),
                                                  QLatin1String(method));
    message.setArguments(arguments);
    return message;
}

// Maps and lists inside variants arrive still marshalled.
QVariant plain(const QVariant& value) {
    if (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
        return plain(value.value<QDBusVariant>().variant());
    }
    if (value.userType() != qMetaTypeId<QDBusArgument>()) {
        return value;
    }
    const auto argument = value.value<QDBusArgument>();
    switch (argument.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            const QString key = plain(argument.asVariant()).toString();
            map.insert(key, plain(argument.asVariant()));
            argument.endMapEntry();
        }
        argument.endMap();
        return map;
    }
    case QDBusArgument::ArrayType: {
        QVariantList list;
        argument.beginArray();
        while (!argument.atEnd()) {
            list.push_back(plain(argument.asVariant()));
        }
        argument.endArray();
        return list;
    }
    case QDBusArgument::VariantType:
        return plain(argument.asVariant());
    default:
        return plain(argument.asVariant());
    }
}

std::string describeError(const QDBusMessage& reply) {
    return reply.errorName().toStdString() + ": " + reply.errorMessage().toStdString();
}

} // namespace

std::shared_ptr<KWinBridge> KWinBridge::connect(QDBusConnection bus, const QString& scriptPath,
                                                std::shared_ptr<RunLoop> runLoop,
                                                std::shared_ptr<Logging> logger,
                                                std::string& error) {
    if (!bus.isConnected()) {
        error = "there is no session bus";
        return nullptr;
    }
    std::shared_ptr<KWinBridge> bridge(new KWinBridge(bus, std::move(runLoop), std::move(logger)));
    bridge->kwinOwner_ = bus.interface()->serviceOwner(kKWinService).value();
    if (bridge->kwinOwner_.isEmpty()) {
        error = "KWin is not on the session bus";
        return nullptr;
    }
    if (!bus.registerVirtualObject(QLatin1String(kwin::kPath), bridge.get()) ||
        !bus.registerService(QLatin1String(kwin::kService))) {
        error = "cannot take the name " + std::string(kwin::kService) + " on the session bus";
        return nullptr;
    }
    // A script that never reports (one on its way out greeted instead) is loaded again.
    for (int attempt = 1; attempt <= kLoadAttempts; ++attempt) {
        if (!bridge->load(scriptPath, error)) {
            break;
        }
        if (bridge->waitForHello(error)) {
            return bridge;
        }
        if (bridge->refusal_) {
            break;
        }
        bridge->logger_->warn("Velmora's KWin script did not start (attempt " +
                              std::to_string(attempt) + "); loading it again");
    }
    bridge->unload();
    return nullptr;
}

KWinBridge::KWinBridge(QDBusConnection bus, std::shared_ptr<RunLoop> runLoop,
                       std::shared_ptr<Logging> logger)
    : bus_(std::move(bus)), runLoop_(std::move(runLoop)), logger_(std::move(logger)) {
    keepAlive_.setSingleShot(true);
    keepAlive_.setInterval(kKeepAliveMs);
    QObject::connect(&keepAlive_, &QTimer::timeout, this, [this] {
        if (pendingAsk_) {
            bus_.send(pendingAsk_->createReply(QVariant(QVariantList{})));
            pendingAsk_.reset();
        }
    });
    kwinWatcher_ = std::make_unique<QDBusServiceWatcher>(
        kKWinService, bus_, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(kwinWatcher_.get(), &QDBusServiceWatcher::serviceUnregistered, this,
                     [this] { lost_.emit(); });
}

KWinBridge::~KWinBridge() {
    lifetime_.end();
    bus_.unregisterObject(QLatin1String(kwin::kPath));
    bus_.unregisterService(QLatin1String(kwin::kService));
}

bool KWinBridge::load(const QString& scriptPath, std::string& error) {
    // A script left by a Velmora that died answers nobody: start afresh.
    const QDBusMessage loaded =
        bus_.call(scripting("isScriptLoaded", {kScriptName}), QDBus::Block, kCallTimeoutMs);
    if (loaded.type() == QDBusMessage::ReplyMessage && loaded.arguments().value(0).toBool()) {
        bus_.call(scripting("unloadScript", {kScriptName}), QDBus::Block, kCallTimeoutMs);
    }
    const QDBusMessage reply =
        bus_.call(scripting("loadScript", {scriptPath, kScriptName}), QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = "KWin cannot load " + scriptPath.toStdString() + " (" + describeError(reply) + ")";
        return false;
    }
    if (reply.arguments().value(0).toInt() < 0) {
        error = "KWin refused the script " + scriptPath.toStdString();
        return false;
    }
    // Not `run` on the script's own object: KWin numbers its scripts by their count, so after
    // another program unloads one of its own, a new script may share a live one's number and
    // `run` reaches that one instead. `start` runs every loaded script that is not running.
    const QDBusMessage started = bus_.call(scripting("start", {}), QDBus::Block, kCallTimeoutMs);
    if (started.type() != QDBusMessage::ReplyMessage) {
        error = "KWin did not run the script " + scriptPath.toStdString() + " (" +
                describeError(started) + ")";
        return false;
    }
    return true;
}

bool KWinBridge::waitForHello(std::string& error) {
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(kHelloTimeoutMs);
    // Started, the script greets and then asks for commands at once. A greeting from a script
    // on its way out, as a new one is loaded in its place, is followed by nothing.
    greeted_ = false;
    pendingAsk_.reset();
    while (!(greeted_ && pendingAsk_) && !refusal_ && timeout.isActive()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (refusal_) {
        error = *refusal_;
        return false;
    }
    if (!greeted_ || !pendingAsk_) {
        error = "Velmora's KWin script did not report within " +
                std::to_string(kHelloTimeoutMs / 1000) + " s";
        return false;
    }
    return true;
}

void KWinBridge::unload() {
    bus_.call(scripting("unloadScript", {kScriptName}), QDBus::Block, kCallTimeoutMs);
}

void KWinBridge::shutDown() {
    if (!greeted_) {
        return;
    }
    greeted_ = false;
    send(kwin::goodbye());
    sendCommands();
    // Unloaded only once the script has released every window.
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.start(kGoodbyeTimeoutMs);
    while (!farewellHeard_ && timeout.isActive()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (!queued_.isEmpty()) {
            sendCommands();
        }
    }
    if (!farewellHeard_) {
        logger_->warn("The KWin script did not confirm Velmora's goodbye");
    }
    unload();
}

QString KWinBridge::introspect(const QString&) const {
    return {};
}

bool KWinBridge::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    // Only the compositor may tell Velmora about windows.
    if (message.service() != kwinOwner_ || message.interface() != QLatin1String(kwin::kInterface)) {
        return false;
    }
    const QString member = message.member();
    if (member == QLatin1String("Hello")) {
        hello(message);
    } else if (member == QLatin1String("Facts")) {
        facts(message);
    } else if (member == QLatin1String("Commands")) {
        commandsAsked(message);
    } else if (member == QLatin1String("Farewell")) {
        farewellHeard_ = true;
        bus_.send(message.createReply());
    } else {
        return false;
    }
    return true;
}

void KWinBridge::hello(const QDBusMessage& message) {
    bool ok = false;
    const int version = message.arguments().value(0).toInt(&ok);
    if (!ok || version != kwin::kProtocolVersion) {
        refusal_ = "Velmora's KWin script speaks protocol version " +
                   message.arguments().value(0).toString().toStdString() + ", Velmora " +
                   std::to_string(kwin::kProtocolVersion) + ": reinstall Velmora";
        logger_->error(*refusal_);
        bus_.send(message.createErrorReply(QStringLiteral("com.tovren.velmora.WrongVersion"),
                                           QString::fromStdString(*refusal_)));
        return;
    }
    if (greeted_) {
        // The script started again: its numbers start again too.
        logger_->warn("Velmora's KWin script started again");
        windows_.clear();
        active_.reset();
        pendingAsk_.reset();
        windowsChanged_.emit();
    }
    greeted_ = true;
    bus_.send(message.createReply(QVariant(static_cast<int>(::getpid()))));
}

void KWinBridge::facts(const QDBusMessage& message) {
    bus_.send(message.createReply());
    const auto facts = kwin::parseFacts(plain(message.arguments().value(0)).toMap());
    if (!facts) {
        logger_->warn("Ignored a malformed report from the KWin script");
        return;
    }
    for (const kwin::Window& window : facts->windows) {
        windows_[window.number] = window;
        if (window.minimized) {
            beingHidden_.erase(window.number);
        }
    }
    for (const WindowNumber closed : facts->closed) {
        windows_.erase(closed);
        beingHidden_.erase(closed);
    }
    if (!facts->windows.empty() || !facts->closed.empty()) {
        windowsChanged_.emit();
    }
    if (facts->active && *facts->active != active_) {
        active_ = *facts->active;
        activated_.emit();
    }
}

void KWinBridge::commandsAsked(const QDBusMessage& message) {
    if (pendingAsk_) {
        bus_.send(pendingAsk_->createReply(QVariant(QVariantList{})));
    }
    message.setDelayedReply(true);
    pendingAsk_ = message;
    keepAlive_.start();
    if (!queued_.isEmpty()) {
        sendCommands();
    }
}

void KWinBridge::send(QVariantMap command) {
    if (command.value(QStringLiteral("op")) == QLatin1String("hide")) {
        beingHidden_.insert(command.value(QStringLiteral("number")).toULongLong());
    }
    queued_.push_back(std::move(command));
    scheduleSending();
}

void KWinBridge::scheduleSending() {
    if (std::exchange(sendingScheduled_, true)) {
        return;
    }
    runLoop_->post(lifetime_.guard([this] { sendCommands(); }));
}

void KWinBridge::sendCommands() {
    if (beforeSending_) {
        beforeSending_();
    }
    sendingScheduled_ = false;
    if (queued_.isEmpty() || !pendingAsk_) {
        return;
    }
    bus_.send(pendingAsk_->createReply(QVariant(queued_)));
    pendingAsk_.reset();
    queued_.clear();
    keepAlive_.stop();
}

} // namespace velmora
