#include "Ui/QmlEngineSource.hpp"

#include "Ui/QmlEngineSetup.hpp"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace velmora {

namespace {

// Objects the engine let go of with deleteLater go first.
constexpr int kTrimDelayMs = 500;

void destroyEngine(QQmlEngine* engine) {
    delete engine;
#ifdef __GLIBC__
    // The allocator keeps what an engine freed for later; at rest there is no later.
    if (QCoreApplication::instance() != nullptr) {
        QTimer::singleShot(kTrimDelayMs, [] { malloc_trim(0); });
    }
#endif
}

} // namespace

std::shared_ptr<QQmlEngine> QmlEngineSource::engine() {
    auto engine = engine_.lock();
    if (!engine) {
        engine = std::shared_ptr<QQmlEngine>(new QQmlEngine, destroyEngine);
        prepareQmlEngine(*engine);
        engine_ = engine;
    }
    return engine;
}

} // namespace velmora
