#include "X11Testing/WaitUntil.hpp"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

namespace velmora::testing {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    // The deadline timer wakes the blocking wait below when nothing else happens.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(timeout);
    auto* dispatcher = QAbstractEventDispatcher::instance();
    while (!condition()) {
        if (!deadline.isActive()) {
            return false;
        }
        QCoreApplication::sendPostedEvents();
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace velmora::testing
