#pragma once

#include "Platform/Updater.hpp"
#include "Support/Observable.hpp"

#include <memory>

namespace velmora {

/// What the settings popup's "Check for Updates" button needs: whether it is enabled, and
/// the updater to ask.
class CheckForUpdatesViewModel {
public:
    explicit CheckForUpdatesViewModel(std::shared_ptr<Updater> updater);

    Observable<bool> canCheckForUpdates{false};

    [[nodiscard]] Updater& updater() const { return *updater_; }

private:
    std::shared_ptr<Updater> updater_;
    Subscription cancellable_;
};

} // namespace velmora
