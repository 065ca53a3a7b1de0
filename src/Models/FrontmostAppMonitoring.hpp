#pragma once

#include "Support/FrontmostAppInfo.hpp"
#include "Support/Subscription.hpp"

#include <functional>

namespace velmora {

/// Follows the frontmost application and publishes it.
///
///     monitor.startMonitoring();
///     Subscription s = monitor.currentAppInfoPublisher([](const FrontmostAppInfo& info) {
///         ...  // the current value at once, then each change
///     });
class FrontmostAppMonitoring {
public:
    using Subscriber = std::function<void(const FrontmostAppInfo&)>;

    virtual ~FrontmostAppMonitoring() = default;

    [[nodiscard]] virtual const FrontmostAppInfo& currentAppInfo() const = 0;
    /// Delivers the current value to `subscriber` at once, then every change of it, within
    /// the main-queue work that made the change. A value is never delivered twice in a row.
    [[nodiscard]] virtual Subscription currentAppInfoPublisher(Subscriber subscriber) = 0;
    virtual void startMonitoring() = 0;
    virtual void stopMonitoring() = 0;
};

} // namespace velmora
