#include "Ui/QtRunLoop.hpp"

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>

namespace velmora {

namespace {

int milliseconds(Seconds delay) {
    const double ms = std::ceil(delay.count() * 1000.0);
    return static_cast<int>(std::clamp(ms, 0.0, 2'000'000'000.0));
}

} // namespace

QtRunLoop::QtRunLoop() = default;

QtRunLoop::~QtRunLoop() = default;

void QtRunLoop::post(Task task) {
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

TimerHandle QtRunLoop::after(Seconds delay, Task task) {
    return schedule(delay, std::move(task), false);
}

TimerHandle QtRunLoop::every(Seconds interval, Task task) {
    return schedule(interval, std::move(task), true);
}

TimerHandle QtRunLoop::schedule(Seconds delay, Task task, bool repeat) {
    auto valid = std::make_shared<std::atomic<bool>>(true);
    // Owned by the context, so no timer outlives the run loop.
    auto* timer = new QTimer(&context_);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeat);
    timer->setInterval(milliseconds(delay));
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, valid, task = std::move(task), repeat] {
                         if (!valid->load()) {
                             timer->deleteLater();
                             return;
                         }
                         if (!repeat) {
                             valid->store(false);
                             timer->deleteLater();
                         }
                         task();
                     });
    timer->start();
    return TimerHandle(std::move(valid));
}

} // namespace velmora
