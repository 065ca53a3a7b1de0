#pragma once

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <functional>

namespace velmora::testing {

/// Runs the Qt event loop of this thread, deferred deletions included, until `condition`
/// holds or `timeout` has passed. Answers whether the condition held. It checks after every
/// batch of events, so a condition that depends on events seen through a socket notifier (X,
/// D-Bus, a helper's pipe) needs no polling.
inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds{10}) {
    // The deadline timer wakes the blocking wait below when nothing else happens.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(timeout);
    auto* dispatcher = QAbstractEventDispatcher::instance();
    for (;;) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (condition()) {
            return true;
        }
        if (!deadline.isActive()) {
            return false;
        }
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace velmora::testing
