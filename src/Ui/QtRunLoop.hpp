#pragma once

#include "Support/RunLoop.hpp"

#include <QObject>

namespace velmora {

/// The main queue over the Qt event loop of the thread that made it (the GUI thread).
///
///     QGuiApplication app(argc, argv);
///     auto runLoop = std::make_shared<QtRunLoop>();
///     runLoop->post([] { ... });          // from any thread
///     TimerHandle t = runLoop->every(Seconds{1}, tick);
///
/// Posted tasks run in FIFO order after the event being handled; timers are precise timers
/// that end for good when their handle is invalidated.
class QtRunLoop final : public RunLoop {
public:
    QtRunLoop();
    ~QtRunLoop() override;
    QtRunLoop(const QtRunLoop&) = delete;
    QtRunLoop& operator=(const QtRunLoop&) = delete;

    void post(Task task) override;
    TimerHandle after(Seconds delay, Task task) override;
    TimerHandle every(Seconds interval, Task task) override;

private:
    TimerHandle schedule(Seconds delay, Task task, bool repeat);

    QObject context_;
};

} // namespace velmora
