#pragma once

namespace velmora {

/// What the application shell asks of the lock engine over its life: observers once, then
/// start, pause while the displays sleep, resume, and stop at the end.
class LockEngineLifecycle {
public:
    virtual ~LockEngineLifecycle() = default;

    virtual void setupSystemEventObservers() = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
};

} // namespace velmora
