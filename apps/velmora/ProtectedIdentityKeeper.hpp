#pragma once

#include "Models/AppState.hpp"
#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Support/Lifetime.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"

#include <memory>
#include <vector>

namespace velmora {

/// Keeps what names each protected application's windows: the identities its entry learned,
/// taught whatever its installed desktop entries show now (and never made to forget), and
/// publishes them for the X11 backend and the guard.
///
///     ProtectedIdentityKeeper keeper(AppState::shared(), directory, published, runLoop);
///
/// Desktop entries are looked at again when the list changes and every few seconds, so that
/// an entry installed later adds what it names.
class ProtectedIdentityKeeper {
public:
    static constexpr Seconds rereadInterval{5.0};

    ProtectedIdentityKeeper(
        std::shared_ptr<AppState> state, std::shared_ptr<const ApplicationDirectory> directory,
        std::shared_ptr<Observable<std::vector<ApplicationIdentities>>> published,
        std::shared_ptr<RunLoop> runLoop);
    ~ProtectedIdentityKeeper();
    ProtectedIdentityKeeper(const ProtectedIdentityKeeper&) = delete;
    ProtectedIdentityKeeper& operator=(const ProtectedIdentityKeeper&) = delete;

private:
    void update();

    std::shared_ptr<AppState> state_;
    std::shared_ptr<const ApplicationDirectory> directory_;
    std::shared_ptr<Observable<std::vector<ApplicationIdentities>>> published_;
    std::shared_ptr<RunLoop> runLoop_;
    Subscription listChanges_;
    TimerHandle reread_;
    /// Lets a queued update find out that the keeper is gone.
    LifetimeToken lifetime_;
};

} // namespace velmora
