#pragma once

#include "Platform/Updater.hpp"

#include <string>

namespace velmora {

/// The updater of a program that has no update framework: it never starts and never lets
/// the user check, so the check button simply stays disabled.
///
///     auto updater = std::make_shared<UnavailableUpdater>("Sparkle.framework not found");
class UnavailableUpdater final : public Updater {
public:
    explicit UnavailableUpdater(std::string reason) : reason_(std::move(reason)) {}

    void setAutomaticallyChecksForUpdates(bool) override {}
    std::optional<std::string> startUpdater() override { return reason_; }
    [[nodiscard]] Subscription
    observeCanCheckForUpdates(std::function<void(bool)> observer) override {
        observer(false);
        return {};
    }
    void checkForUpdates() override {}

private:
    std::string reason_;
};

} // namespace velmora
