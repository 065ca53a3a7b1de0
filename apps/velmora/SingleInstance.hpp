#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>
#include <memory>

namespace velmora {

/// Keeps one Velmora per user session: the first start listens on a local socket named
/// after the user; a later start hands over to it and ends.
///
///     SingleInstance instance(SingleInstance::defaultSocketPath());
///     if (!instance.becomePrimary([] { openSettings(); })) { return 0; }   // handed over
class SingleInstance {
public:
    using HandoverHandler = std::function<void()>;

    explicit SingleInstance(QString socketPath);
    ~SingleInstance();

    /// "velmora-<uid>.socket" in $XDG_RUNTIME_DIR, else in Qt's private runtime directory.
    [[nodiscard]] static QString defaultSocketPath();

    /// True when this process is now the only instance; `onHandover` then runs on the event
    /// loop each time a later start hands over. False when another instance took the
    /// handover. With `replacing` (a start in place of an instance that ended), whatever
    /// still answers at the path, an instance stuck on its way out or something planted, is
    /// not handed over to: this process takes the path.
    [[nodiscard]] bool becomePrimary(HandoverHandler onHandover, bool replacing = false);

private:
    bool handOver();

    QString socketPath_;
    HandoverHandler onHandover_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace velmora
