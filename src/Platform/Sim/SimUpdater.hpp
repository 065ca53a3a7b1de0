#pragma once

#include "Platform/Updater.hpp"
#include "Support/Observable.hpp"

#include <cstddef>

namespace velmora {

/// An updater that records what it is asked and lets tests decide what it answers.
class SimUpdater final : public Updater {
public:
    void setAutomaticallyChecksForUpdates(bool enabled) override { automaticChecks = enabled; }

    std::optional<std::string> startUpdater() override {
        ++startCount;
        if (startError) {
            return startError;
        }
        started = true;
        canCheck_.set(true);
        return std::nullopt;
    }

    Subscription observeCanCheckForUpdates(std::function<void(bool)> observer) override {
        return canCheck_.subscribe(
            [observer = std::move(observer)](const bool& can) { observer(can); });
    }

    void checkForUpdates() override { ++checksRequested; }

    /// The updater's own flag, as the framework would change it (e.g. while a check runs).
    void setCanCheckForUpdates(bool can) {
        if (canCheck_.get() != can) {
            canCheck_.set(can);
        }
    }

    std::optional<bool> automaticChecks;
    std::optional<std::string> startError;
    bool started = false;
    std::size_t startCount = 0;
    std::size_t checksRequested = 0;

private:
    Observable<bool> canCheck_{false};
};

} // namespace velmora
