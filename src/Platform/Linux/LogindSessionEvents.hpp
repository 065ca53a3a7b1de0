#pragma once

#include "Platform/Linux/SessionEventSource.hpp"
#include "Support/Logging.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <memory>

namespace velmora {

/// Sleep and screen locks of the session, from logind on the system bus and the screen saver
/// on the session bus.
///
///     LogindSessionEvents events(QDBusConnection::systemBus(), QDBusConnection::sessionBus(),
///                                runLoop, logger);
///     Subscription s = events.observeScreenLocked([] { relockEverything(); });
///
/// While it lives it holds a logind delay inhibitor for sleep: on `PrepareForSleep(true)` the
/// handlers run on the main queue and the inhibitor is let go only after the work they queued
/// there has run; on waking a new one is taken. A screen lock is logind's `Lock` signal for
/// this process's session, or `ActiveChanged(true)` from the freedesktop, GNOME, MATE or
/// Cinnamon screen saver. A bus or service that is missing is logged once and its events
/// simply never come.
class LogindSessionEvents final : public QObject, public SessionEventSource {
    Q_OBJECT

public:
    LogindSessionEvents(QDBusConnection systemBus, QDBusConnection sessionBus,
                        std::shared_ptr<RunLoop> runLoop, std::shared_ptr<Logging> logger);
    ~LogindSessionEvents() override;

    [[nodiscard]] Subscription observeWillSleep(Handler handler) override;
    [[nodiscard]] Subscription observeScreenLocked(Handler handler) override;

    /// Whether sleep currently waits for this program (a delay inhibitor is held).
    [[nodiscard]] bool holdsSleepInhibitor() const { return inhibitor_ >= 0; }

private Q_SLOTS:
    void prepareForSleep(bool sleeping);
    void sessionLocked();
    void screenSaverActiveChanged(bool active);

private:
    void takeInhibitor();
    void holdInhibitor(const QDBusUnixFileDescriptor& descriptor);
    void releaseInhibitor();
    void findSession();
    void notify(Signal<>& signal);
    void reportLogindMissing(const QDBusError& error);

    QDBusConnection systemBus_;
    QDBusConnection sessionBus_;
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<Logging> logger_;
    Signal<> willSleep_;
    Signal<> screenLocked_;
    int inhibitor_ = -1;
    bool inhibitorRequested_ = false;
    bool reportedLogindMissing_ = false;
};

} // namespace velmora
