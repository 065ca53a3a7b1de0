#include "Platform/Linux/LogindSessionEvents.hpp"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <fcntl.h>
#include <unistd.h>

namespace velmora {

namespace {

const QString kLogin1 = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManagerInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const char* const kScreenSavers[] = {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver",
                                     "org.mate.ScreenSaver", "org.cinnamon.ScreenSaver"};

std::string describe(const QDBusError& error) {
    return (error.name() + QStringLiteral(": ") + error.message()).toStdString();
}

} // namespace

LogindSessionEvents::LogindSessionEvents(QDBusConnection systemBus, QDBusConnection sessionBus,
                                         std::shared_ptr<RunLoop> runLoop,
                                         std::shared_ptr<Logging> logger)
    : systemBus_(std::move(systemBus)), sessionBus_(std::move(sessionBus)),
      runLoop_(std::move(runLoop)), logger_(std::move(logger)) {
    if (systemBus_.isConnected()) {
        systemBus_.connect(kLogin1, kManagerPath, kManagerInterface,
                           QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
        takeInhibitor();
        findSession();
    } else {
        logger_->warn("System bus unavailable (" + describe(systemBus_.lastError()) +
                      "); sleep and session locks will not relock applications");
    }
    if (sessionBus_.isConnected()) {
        // Any sender and path: each desktop's screen saver has its own.
        for (const char* screenSaver : kScreenSavers) {
            sessionBus_.connect(QString(), QString(), QString::fromLatin1(screenSaver),
                                QStringLiteral("ActiveChanged"), this,
                                SLOT(screenSaverActiveChanged(bool)));
        }
    } else {
        logger_->warn("Session bus unavailable (" + describe(sessionBus_.lastError()) +
                      "); screen saver locks will not relock applications");
    }
}

LogindSessionEvents::~LogindSessionEvents() {
    releaseInhibitor();
}

Subscription LogindSessionEvents::observeWillSleep(Handler handler) {
    return willSleep_.connect(std::move(handler));
}

Subscription LogindSessionEvents::observeScreenLocked(Handler handler) {
    return screenLocked_.connect(std::move(handler));
}

void LogindSessionEvents::prepareForSleep(bool sleeping) {
    if (!sleeping) {
        takeInhibitor();
        return;
    }
    // The release is queued behind whatever the handlers queue, so that work is done
    // before the system may sleep.
    runLoop_->post([self = QPointer(this)] {
        if (!self) {
            return;
        }
        self->willSleep_.emit();
        self->runLoop_->post([self] {
            if (self) {
                self->releaseInhibitor();
            }
        });
    });
}

void LogindSessionEvents::sessionLocked() {
    notify(screenLocked_);
}

void LogindSessionEvents::screenSaverActiveChanged(bool active) {
    if (active) {
        notify(screenLocked_);
    }
}

void LogindSessionEvents::notify(Signal<>& signal) {
    runLoop_->post([self = QPointer(this), &signal] {
        if (self) {
            signal.emit();
        }
    });
}

void LogindSessionEvents::takeInhibitor() {
    if (inhibitor_ >= 0 || inhibitorRequested_) {
        return;
    }
    auto call = QDBusMessage::createMethodCall(kLogin1, kManagerPath, kManagerInterface,
                                               QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Velmora")
         << QStringLiteral("Relock protected applications") << QStringLiteral("delay");
    inhibitorRequested_ = true;
    auto* watcher = new QDBusPendingCallWatcher(systemBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                inhibitorRequested_ = false;
                const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *finished;
                if (reply.isError()) {
                    reportLogindMissing(reply.error());
                } else {
                    holdInhibitor(reply.value());
                }
            });
}

void LogindSessionEvents::holdInhibitor(const QDBusUnixFileDescriptor& descriptor) {
    if (inhibitor_ >= 0 || !descriptor.isValid()) {
        return;
    }
    // A copy of our own: the reply's copy closes when the reply goes.
    inhibitor_ = ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
}

void LogindSessionEvents::releaseInhibitor() {
    if (inhibitor_ >= 0) {
        ::close(inhibitor_);
        inhibitor_ = -1;
    }
}

void LogindSessionEvents::findSession() {
    const QByteArray sessionId = qgetenv("XDG_SESSION_ID");
    QDBusMessage call;
    if (!sessionId.isEmpty()) {
        call = QDBusMessage::createMethodCall(kLogin1, kManagerPath, kManagerInterface,
                                              QStringLiteral("GetSession"));
        call << QString::fromUtf8(sessionId);
    } else {
        call = QDBusMessage::createMethodCall(kLogin1, kManagerPath, kManagerInterface,
                                              QStringLiteral("GetSessionByPID"));
        call << static_cast<quint32>(::getpid());
    }
    auto* watcher = new QDBusPendingCallWatcher(systemBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    reportLogindMissing(reply.error());
                    return;
                }
                systemBus_.connect(kLogin1, reply.value().path(), kSessionInterface,
                                   QStringLiteral("Lock"), this, SLOT(sessionLocked()));
            });
}

void LogindSessionEvents::reportLogindMissing(const QDBusError& error) {
    if (reportedLogindMissing_) {
        return;
    }
    reportedLogindMissing_ = true;
    logger_->warn("logind unavailable (" + describe(error) +
                  "); sleep and session locks may not relock applications");
}

} // namespace velmora
