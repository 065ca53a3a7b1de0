#include "Views/CheckForUpdatesViewModel.hpp"

namespace velmora {

CheckForUpdatesViewModel::CheckForUpdatesViewModel(std::shared_ptr<Updater> updater)
    : updater_(std::move(updater)) {
    cancellable_ =
        updater_->observeCanCheckForUpdates([this](bool can) { canCheckForUpdates.set(can); });
}

} // namespace velmora
