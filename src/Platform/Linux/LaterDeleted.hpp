#pragma once

#include <QObject>
#include <memory>

namespace velmora {

/// Disconnects the object and deletes it from the event loop.
struct DeleteLater {
    void operator()(QObject* object) const {
        object->disconnect();
        object->deleteLater();
    }
};

/// Owns a QObject whose owner may go away while the object is emitting a signal (a timer
/// whose time-out ends the owner): no handler of the owner runs after it is released, and
/// the object itself outlives the emission.
///
///     LaterDeleted<QTimer> timer{new QTimer};
///     QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this] { giveUp(); });
template <typename Object> using LaterDeleted = std::unique_ptr<Object, DeleteLater>;

} // namespace velmora
