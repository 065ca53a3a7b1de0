#include "Platform/Linux/LogindSessionEvents.hpp"
#include "Platform/Linux/System/PrivateBus.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Support/RecordingLogger.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QStringList>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::PrivateBus;
using testing::RecordingLogger;
using testing::waitUntil;

const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/c1");

/// logind's manager as far as Velmora uses it. Each inhibitor is a pipe whose read end the
/// test keeps: it reads end-of-file once every copy of the write end is closed.
class FakeLogin1Manager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    ~FakeLogin1Manager() override {
        for (const int fd : readEnds) {
            ::close(fd);
        }
    }

    /// Whether the inhibitor handed out last is still held by someone.
    [[nodiscard]] bool lastInhibitorHeld() const {
        char byte = 0;
        return ::read(readEnds.back(), &byte, 1) < 0 && errno == EAGAIN;
    }

    QList<QStringList> inhibitCalls;
    QStringList sessionLookups;
    std::vector<int> readEnds;

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        inhibitCalls.append({what, who, why, mode});
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            return {};
        }
        ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
        readEnds.push_back(ends[0]);
        QDBusUnixFileDescriptor descriptor(ends[1]);
        ::close(ends[1]);
        return descriptor;
    }
    QDBusObjectPath GetSession(const QString& id) {
        sessionLookups.append("id " + id);
        return QDBusObjectPath(kSessionPath);
    }
    QDBusObjectPath GetSessionByPID(uint pid) {
        sessionLookups.append("pid " + QString::number(pid));
        return QDBusObjectPath(kSessionPath);
    }
};

class LogindSessionEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(login1.registerService("org.freedesktop.login1"));
        ASSERT_TRUE(login1.registerObject("/org/freedesktop/login1", &manager,
                                          QDBusConnection::ExportAllSlots));
    }

    std::unique_ptr<LogindSessionEvents> makeEvents() {
        return std::make_unique<LogindSessionEvents>(observer, observer, loop, logger);
    }

    void send(QDBusConnection& from, const QString& path, const QString& interface,
              const QString& name, const QVariantList& arguments = {}) {
        auto signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        from.send(signal);
    }

    /// Sends the signal again and again until the handlers ran `count` times in all: the
    /// subscription to it may still be on its way to the bus at first.
    bool sendUntilHandled(QDBusConnection& from, const QString& path, const QString& interface,
                          const QString& name, const QVariantList& arguments, const int& handled,
                          int count) {
        // A signal sent before the subscription reached the bus wakes nobody: retry on a timer.
        QTimer retry;
        retry.start(10);
        return waitUntil([&] {
            if (handled < count) {
                send(from, path, interface, name, arguments);
            }
            loop->runUntilIdle();
            return handled >= count;
        });
    }

    PrivateBus bus;
    QDBusConnection login1 = bus.connect("login1");
    QDBusConnection observer = bus.connect("observer");
    FakeLogin1Manager manager;
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();
};

TEST_F(LogindSessionEventsTest, SleepWaitsUntilTheWorkTheHandlersQueuedHasRun) {
    auto events = makeEvents();
    ASSERT_TRUE(waitUntil([&] { return events->holdsSleepInhibitor(); }));
    const QList<QStringList> expectedCalls{
        {"sleep", "Velmora", "Relock protected applications", "delay"}};
    EXPECT_EQ(manager.inhibitCalls, expectedCalls);
    ASSERT_TRUE(waitUntil([&] { return manager.lastInhibitorHeld(); }));

    bool heldDuringWork = false;
    int handled = 0;
    const Subscription subscription = events->observeWillSleep([&] {
        loop->post([&] {
            heldDuringWork = manager.lastInhibitorHeld();
            ++handled;
        });
    });
    send(login1, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
         {true});
    ASSERT_TRUE(waitUntil([&] {
        loop->runUntilIdle();
        return handled == 1;
    }));
    EXPECT_TRUE(heldDuringWork);
    EXPECT_TRUE(waitUntil([&] { return !manager.lastInhibitorHeld(); }));
    EXPECT_FALSE(events->holdsSleepInhibitor());

    send(login1, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
         {false});
    ASSERT_TRUE(waitUntil([&] { return events->holdsSleepInhibitor(); }));
    EXPECT_EQ(manager.inhibitCalls.size(), 2);
    EXPECT_TRUE(manager.lastInhibitorHeld());

    events.reset();
    EXPECT_TRUE(waitUntil([&] { return !manager.lastInhibitorHeld(); }));
    EXPECT_EQ(handled, 1);
}

TEST_F(LogindSessionEventsTest, ScreenLocksComeFromTheSessionAndTheScreenSavers) {
    auto events = makeEvents();
    int locks = 0;
    const Subscription subscription = events->observeScreenLocked([&] { ++locks; });
    ASSERT_TRUE(waitUntil([&] { return manager.sessionLookups.size() == 1; }));
    const QByteArray sessionId = qgetenv("XDG_SESSION_ID");
    EXPECT_EQ(manager.sessionLookups.front(),
              sessionId.isEmpty() ? "pid " + QString::number(::getpid()) : "id " + sessionId);

    ASSERT_TRUE(sendUntilHandled(login1, kSessionPath, "org.freedesktop.login1.Session", "Lock", {},
                                 locks, 1));

    QDBusConnection screenSaver = bus.connect("screensaver");
    const struct {
        QString interface;
        QString path;
    } screenSavers[] = {
        {"org.freedesktop.ScreenSaver", "/ScreenSaver"},
        {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"},
        {"org.mate.ScreenSaver", "/org/mate/ScreenSaver"},
        {"org.cinnamon.ScreenSaver", "/org/cinnamon/ScreenSaver"},
    };
    for (const auto& saver : screenSavers) {
        ASSERT_TRUE(sendUntilHandled(screenSaver, saver.path, saver.interface, "ActiveChanged",
                                     {true}, locks, locks + 1))
            << saver.interface.toStdString();
    }
}

TEST(LogindSessionEvents, MissingBusesAndServicesAreNeverFatal) {
    PrivateBus bus;
    QDBusConnection observer = bus.connect("observer");
    QDBusConnection none = QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "none");
    auto loop = std::make_shared<ManualRunLoop>();
    auto logger = std::make_shared<RecordingLogger>();
    {
        LogindSessionEvents events(none, none, loop, logger);
        const Subscription s = events.observeWillSleep([] {});
        EXPECT_FALSE(events.holdsSleepInhibitor());
    }
    QDBusConnection::disconnectFromBus("none");

    const std::size_t warnedBefore = logger->entries.size();
    LogindSessionEvents events(observer, observer, loop, logger);
    // The refusals may still wait in the queue on a loaded machine.
    EXPECT_TRUE(waitUntil([&] {
        loop->runUntilIdle();
        return logger->entries.size() > warnedBefore;
    }));
    EXPECT_FALSE(events.holdsSleepInhibitor());
}

} // namespace
} // namespace velmora

#include "LogindSessionEventsTests.moc"
