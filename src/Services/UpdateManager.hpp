#pragma once

#include "Platform/Updater.hpp"

#include <memory>

namespace velmora {

/// Owns the software updater: created once, automatic checks off, started at creation.
/// The program never checks by itself; only the user's "Check for Updates" does.
///
///     auto& updater = UpdateManager::shared().updater();
class UpdateManager {
public:
    /// The process-wide instance, created on first use from the installed platform.
    static UpdateManager& shared();

    explicit UpdateManager(const UpdaterFactory& factory);

    [[nodiscard]] const std::shared_ptr<Updater>& updater() const { return updater_; }

private:
    std::shared_ptr<Updater> updater_;
};

} // namespace velmora
