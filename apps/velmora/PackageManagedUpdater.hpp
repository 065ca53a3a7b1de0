#pragma once

#include "Platform/Updater.hpp"

namespace velmora {

/// The updater on Linux, where Velmora comes from the distribution's packages and is updated
/// with them: it never starts, and a check is never possible.
///
///     platform.updaterFactory = [] { return std::make_shared<PackageManagedUpdater>(); };
class PackageManagedUpdater final : public Updater {
public:
    void setAutomaticallyChecksForUpdates(bool) override {}
    std::optional<std::string> startUpdater() override {
        return "Velmora is updated by the system's package manager";
    }
    [[nodiscard]] Subscription
    observeCanCheckForUpdates(std::function<void(bool)> observer) override {
        observer(false);
        return {};
    }
    void checkForUpdates() override {}
};

} // namespace velmora
