#include "Views/ProtectedAppRowViewModel.hpp"
#include "Views/ViewModelFixture.hpp"

namespace velmora::testing {
namespace {

using Badge = ProtectedAppRowViewModel::Badge;

class ProtectedAppRowViewModelTest : public ViewModelTest {
protected:
    std::shared_ptr<ProtectedAppRowViewModel> makeRow(const std::string& bundleId = kNotes) {
        return ProtectedAppRowViewModel::create({.appState = appState,
                                                 .lockEngine = engine,
                                                 .permissionsManager = permissions,
                                                 .authManager = auth,
                                                 .icons = desktop.applicationIcons,
                                                 .onLocked = [this] { ++lockedCallbacks; }},
                                                *appState->protectedApp(bundleId));
    }

    int lockedCallbacks = 0;
};

TEST_F(ProtectedAppRowViewModelTest, SummaryShowsTheTimeoutWhileAutoLockIsOn) {
    struct Case {
        std::int64_t minutes;
        bool autoLock;
        std::optional<std::string> summary;
    };
    const Case cases[] = {
        {0, true, "10 sec"},  {1, true, "1 min"},   {5, true, "5 min"},
        {45, true, "45 min"}, {60, true, "60 min"}, {5, false, std::nullopt},
    };
    for (const Case& c : cases) {
        auto app = *appState->protectedApp(kNotes);
        app.idleTimeoutMinutes = c.minutes;
        app.autoLockEnabled = c.autoLock;
        const auto row = ProtectedAppRowViewModel::create(
            {appState, engine, permissions, auth, desktop.applicationIcons, {}}, app);
        EXPECT_EQ(row->summaryTimeout(), c.summary) << c.minutes << c.autoLock;
    }
}

TEST_F(ProtectedAppRowViewModelTest, BadgeAndLockNowFollowPermissionsAndUnlocks) {
    const auto row = makeRow();
    EXPECT_EQ(row->badge.get(), Badge::locked);
    EXPECT_FALSE(row->showsLockNow.get());

    unlockNotes();
    EXPECT_EQ(row->badge.get(), Badge::unlocked);
    EXPECT_TRUE(row->showsLockNow.get());
    EXPECT_TRUE(ProtectedAppRowViewModel::badgeContent(Badge::unlocked).isButton);

    changeAccessibility(false);
    EXPECT_EQ(row->badge.get(), Badge::inactive);
    EXPECT_FALSE(row->showsLockNow.get());
    row->lockNow();
    EXPECT_TRUE(engine->isAppUnlocked(kNotes)) << "Lock Now is hidden";

    // Idle-locked after going unused behind another application: shown as locked.
    changeAccessibility(true);
    appState->setIdleTimeoutMinutes(appState->protectedApp(kNotes)->id, 0);
    desktop.activate(editor);
    desktop.loop->advance(Seconds{11});
    ASSERT_TRUE(engine->idleTracker().isIdleLocked(kNotes));
    EXPECT_EQ(row->badge.get(), Badge::locked);
    EXPECT_FALSE(ProtectedAppRowViewModel::badgeContent(Badge::locked).isButton);
    EXPECT_FALSE(row->showsLockNow.get());
}

TEST_F(ProtectedAppRowViewModelTest, ClickingUnlockedLocksWithoutExpanding) {
    const auto row = makeRow();
    row->badgeTapped();
    EXPECT_EQ(lockedCallbacks, 0) << "a locked badge is no button";

    unlockNotes();
    row->badgeTapped();
    EXPECT_FALSE(engine->isAppUnlocked(kNotes));
    EXPECT_EQ(row->badge.get(), Badge::locked);
    EXPECT_FALSE(row->isExpanded.get());
    EXPECT_EQ(lockedCallbacks, 1);
}

TEST_F(ProtectedAppRowViewModelTest, OnlyWhatWeakensProtectionAsksTheOwnerFirst) {
    const auto row = makeRow();
    const auto notes = [&] { return *appState->protectedApp(kNotes); };
    struct Case {
        const char* change;
        std::function<void()> act;
        bool asks;
        std::function<bool()> applied;
    };
    const Case cases[] = {
        {"shorter time-out", [&] { row->chooseTimeout(2); }, false,
         [&] { return notes().idleTimeoutMinutes == 2; }},
        {"longer time-out", [&] { row->chooseTimeout(30); }, true,
         [&] { return notes().idleTimeoutMinutes == 30; }},
        {"auto-lock off", [&] { row->setAutoLockEnabled(false); }, true,
         [&] { return !notes().autoLockEnabled; }},
        {"auto-lock on", [&] { row->setAutoLockEnabled(true); }, false,
         [&] { return notes().autoLockEnabled; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        auth->reasons.clear();
        row->app.set(notes());
        c.act();
        if (c.asks) {
            EXPECT_EQ(auth->reasons,
                      std::vector<std::string>{"Authenticate to change protection for Notes"});
            auth->queueResult(AuthResult::failure(AuthError::failed()));
            desktop.loop->runUntilIdle();
            EXPECT_FALSE(c.applied()) << "applied without the owner";
            c.act();
            auth->queueResult(AuthResult::success());
            desktop.loop->runUntilIdle();
        }
        EXPECT_EQ(auth->reasons.size(), c.asks ? 2u : 0u);
        EXPECT_TRUE(c.applied());
    }
}

TEST_F(ProtectedAppRowViewModelTest, RemovalAsksTheOwnerFirst) {
    const auto row = makeRow();
    const auto stored = desktop.userDefaults->data("protectedApps");

    row->remove();
    EXPECT_TRUE(row->isAuthenticatingRemoval.get());
    row->remove();
    EXPECT_EQ(auth->reasons,
              std::vector<std::string>{"Authenticate to remove Notes from protected apps"});

    auth->queueResult(AuthResult::failure(AuthError::userCancelled()));
    desktop.loop->runUntilIdle();
    EXPECT_FALSE(row->isAuthenticatingRemoval.get());
    EXPECT_TRUE(appState->isProtected(kNotes));
    EXPECT_EQ(desktop.userDefaults->data("protectedApps"), stored);

    row->remove();
    auth->queueResult(AuthResult::success());
    desktop.loop->runUntilIdle();
    EXPECT_FALSE(row->isAuthenticatingRemoval.get());
    EXPECT_FALSE(appState->isProtected(kNotes));
    EXPECT_EQ(desktop.userDefaults->data("protectedApps"), "[]");
}

TEST_F(ProtectedAppRowViewModelTest, RemovalCompletesAfterTheRowIsGone) {
    makeRow()->remove();
    auth->queueResult(AuthResult::success());
    desktop.loop->runUntilIdle();
    EXPECT_FALSE(appState->isProtected(kNotes));
}

} // namespace
} // namespace velmora::testing
