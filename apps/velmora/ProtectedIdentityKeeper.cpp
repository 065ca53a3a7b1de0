#include "ProtectedIdentityKeeper.hpp"

#include <algorithm>

namespace velmora {

namespace {

/// `values` followed by those of `more` that it lacks.
std::vector<std::string> joined(std::vector<std::string> values,
                                const std::vector<std::string>& more) {
    for (const std::string& value : more) {
        if (std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(value);
        }
    }
    return values;
}

} // namespace

ProtectedIdentityKeeper::ProtectedIdentityKeeper(
    std::shared_ptr<AppState> state, std::shared_ptr<const ApplicationDirectory> directory,
    std::shared_ptr<Observable<std::vector<ApplicationIdentities>>> published,
    std::shared_ptr<RunLoop> runLoop)
    : state_(std::move(state)), directory_(std::move(directory)), published_(std::move(published)),
      runLoop_(std::move(runLoop)) {
    // Learning saves the list, which notifies again: the update runs after the notice.
    listChanges_ = state_->protectedApps().subscribe(
        [runLoop = runLoop_, guarded = lifetime_.guard([this] { update(); })](const auto&) {
            runLoop->post(guarded);
        });
    reread_ = runLoop_->every(rereadInterval, [this] { update(); });
    update();
}

ProtectedIdentityKeeper::~ProtectedIdentityKeeper() {
    reread_.invalidate();
}

void ProtectedIdentityKeeper::update() {
    std::vector<ApplicationIdentities> all;
    for (const ProtectedApp& app : state_->protectedApps().get()) {
        const ApplicationIdentities installed = directory_->identities(app.bundleIdentifier);
        all.push_back({.desktopId = app.bundleIdentifier,
                       .windowClasses = joined(app.windowClasses, installed.windowClasses),
                       .executables = joined(app.executables, installed.executables)});
    }
    published_->setIfChanged(all);
    for (const ApplicationIdentities& identities : all) {
        // Saves, and notifies, only when it taught the entry something.
        state_->learnIdentities(identities.desktopId, identities.windowClasses,
                                identities.executables);
    }
}

} // namespace velmora
