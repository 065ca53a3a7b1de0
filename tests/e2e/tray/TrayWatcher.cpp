// Plasma's tray as far as a program sees it: a status notifier watcher with a host. It writes
// "ready" to the file it is given once it holds the watcher's name, then the bus name of each
// item that registers, one a line, for the test to talk to.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <cstdio>

class TrayWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered CONSTANT)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion CONSTANT)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    explicit TrayWatcher(const QString& path) : file_(path) {}

    bool tell(const QString& line) {
        if (!file_.isOpen() && !file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            return false;
        }
        file_.write(line.toUtf8() + '\n');
        return file_.flush();
    }

    [[nodiscard]] bool isHostRegistered() const { return true; }
    [[nodiscard]] int protocolVersion() const { return 0; }
    [[nodiscard]] QStringList items() const { return items_; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& item, const QDBusMessage& message) {
        // Named by its path alone, an item lives at that path of the caller.
        const QString name = item.startsWith(u'/') ? message.service() : item;
        items_.append(name);
        tell(name);
        Q_EMIT StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    QFile file_;
    QStringList items_;
};

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-test-tray-watcher FILE\n");
        return 2;
    }
    TrayWatcher watcher(QString::fromLocal8Bit(argv[1]));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "velmora-test-tray-watcher: cannot take the watcher's name\n");
        return 1;
    }
    if (!watcher.tell(QStringLiteral("ready"))) {
        std::fprintf(stderr, "velmora-test-tray-watcher: cannot write %s\n", argv[1]);
        return 1;
    }
    return QCoreApplication::exec();
}

#include "TrayWatcher.moc"
