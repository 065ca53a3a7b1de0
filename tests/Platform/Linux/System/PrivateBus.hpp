#pragma once

#include "X11Testing/ChildProcess.hpp"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QString>
#include <memory>

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
        std::string address;
        daemon_ = startReporting({"dbus-daemon", "--session", "--nofork", "--print-address={fd}"},
                                 address);
        address_ = QString::fromStdString(address);
    }
    ~PrivateBus() {
        for (const auto& name : names_) {
            QDBusConnection::disconnectFromBus(name);
        }
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    /// A new connection to this bus, closed with it.
    QDBusConnection connect(const QString& name) {
        const QString unique = name + QString::number(reinterpret_cast<quintptr>(this));
        names_.append(unique);
        return QDBusConnection::connectToBus(address_, unique);
    }

private:
    std::unique_ptr<ChildProcess> daemon_;
    QString address_;
    QStringList names_;
};

} // namespace velmora::testing
