#pragma once

#include "Support/Subscription.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

/// The platform's software updater.
///
///     auto updater = factory();                        // created, not started
///     updater->setAutomaticallyChecksForUpdates(false);
///     if (auto error = updater->startUpdater()) { report(*error); }
///     Subscription s = updater->observeCanCheckForUpdates([](bool can) { enableButton(can); });
class Updater {
public:
    virtual ~Updater() = default;

    virtual void setAutomaticallyChecksForUpdates(bool enabled) = 0;
    /// Starts the updater; the description of the error when it could not start.
    virtual std::optional<std::string> startUpdater() = 0;
    /// Delivers whether a user-initiated check may be requested now, at once and on every change.
    [[nodiscard]] virtual Subscription
    observeCanCheckForUpdates(std::function<void(bool)> observer) = 0;
    /// A check the user asked for.
    virtual void checkForUpdates() = 0;
};

/// Creates the updater without starting it.
using UpdaterFactory = std::function<std::shared_ptr<Updater>()>;

} // namespace velmora
