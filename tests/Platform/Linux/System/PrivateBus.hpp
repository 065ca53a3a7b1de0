#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace velmora::testing {

/// The Qt application the D-Bus connections need, made once for the whole test program.
inline void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "velmora_linux_system_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        new QCoreApplication(argc, argv);
    }
}

/// A D-Bus daemon of its own for one test, so nothing reaches the real buses.
class PrivateBus {
public:
    PrivateBus() {
        ensureQtApplication();
        daemon_.start("dbus-daemon", {"--session", "--print-address", "--nofork"});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        for (const auto& name : names_) {
            QDBusConnection::disconnectFromBus(name);
        }
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    [[nodiscard]] bool isRunning() const { return !address_.isEmpty(); }

    /// A new connection to this bus, closed with it.
    QDBusConnection connect(const QString& name) {
        const QString unique = name + QString::number(reinterpret_cast<quintptr>(this));
        names_.append(unique);
        return QDBusConnection::connectToBus(address_, unique);
    }

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

} // namespace velmora::testing
