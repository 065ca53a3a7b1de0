#include "LockEngineFixture.hpp"
#include "LockStateMachineHarness.hpp"

#include <limits>

namespace velmora::testing {
namespace {

class LockEngineIdleTest : public LockEngineTest {
protected:
    void setNotes(std::int64_t minutes) {
        appState->setIdleTimeoutMinutes(appState->protectedApp(kNotes)->id, minutes);
    }
    /// Unlocks Notes and leaves it in the background.
    void unlockNotesAndSwitchAway() {
        unlockNotes();
        desktop.activate(editor);
    }
};

// Relocking after the time-out, and input as use: idle-relock.scenario.
TEST_F(LockEngineIdleTest, StoredTimeoutsFarOutOfRangeNeverOverflow) {
    using Limits = std::numeric_limits<std::int64_t>;
    for (const auto& [minutes, relocks] :
         {std::pair{Limits::min(), true}, {Limits::max(), false}}) {
        auto apps = appState->protectedApps().get();
        apps.front().idleTimeoutMinutes = minutes;
        appState->protectedApps().set(apps);
        unlockNotesAndSwitchAway();
        desktop.loop->advance(Seconds{2});
        EXPECT_EQ(engine->isAppUnlocked(kNotes), !relocks) << minutes;
    }
}

TEST_F(LockEngineIdleTest, ADisabledTapIsReenabledAndRecreatedWhenThatFails) {
    desktop.eventTaps->disableAll(InputEventType::tapDisabledByTimeout);
    desktop.loop->advance(Seconds{0.1});
    EXPECT_EQ(desktop.eventTaps->tapsCreated(), 1u);

    desktop.eventTaps->setEnablingFails(true);
    desktop.eventTaps->disableAll(InputEventType::tapDisabledByUserInput);
    desktop.loop->advance(Seconds{0.1});
    EXPECT_EQ(desktop.eventTaps->tapsCreated(), 2u);
    EXPECT_EQ(desktop.eventTaps->liveTapCount(), 1u);
}

class SettableMonotonicClock final : public MonotonicClock {
public:
    [[nodiscard]] std::uint64_t nanoseconds() const override { return now; }
    std::uint64_t now = 10'000'000'000;
};

TEST_F(LockEngineIdleTest, AClockSetBackNeitherLetsInputThroughNorStopsItsRecording) {
    engine->stop();
    const auto wall = std::make_shared<SettableClock>();
    const auto monotonic = std::make_shared<SettableMonotonicClock>();
    const auto contexts = makeContextFactory(desktop.authenticator);
    auto collaborators = LockEngine::collaborators(
        desktop.platform(logger), appState, std::make_shared<AuthManager>(desktop.loop, contexts),
        std::make_shared<OverlayWindowController>(logger, desktop.overlayWindows, contexts));
    collaborators.timeProvider = wall;
    collaborators.monotonicClock = monotonic;
    const auto clocked = LockEngine::create(std::move(collaborators));
    clocked->start();
    clocked->stateMachine().unlockedApps()[UnlockKey{kNotes, notes}] =
        wall->now() + std::chrono::hours{1};

    const auto recordedAfter = [&](Seconds wallStep) {
        wall->advance(wallStep);
        const auto before = clocked->idleTracker().lastActiveTimePerApp();
        clocked->idleTracker().recordInputActivity(notes);
        return clocked->idleTracker().lastActiveTimePerApp() != before;
    };
    EXPECT_TRUE(recordedAfter(Seconds{0}));
    EXPECT_FALSE(recordedAfter(Seconds{-3600}));
    EXPECT_FALSE(recordedAfter(Seconds{0.2}));
    EXPECT_TRUE(recordedAfter(Seconds{0.4}));

    const auto passedTap = [&](std::int64_t nanoseconds) {
        monotonic->now += nanoseconds;
        desktop.eventTaps->deliver({InputEventType::keyDown, notes});
        const bool passed = desktop.loop->pendingTaskCount() > 0;
        desktop.loop->runUntilIdle();
        return passed;
    };
    EXPECT_TRUE(passedTap(0));
    EXPECT_FALSE(passedTap(-5'000'000'000));
    EXPECT_FALSE(passedTap(200'000'000));
    EXPECT_TRUE(passedTap(400'000'000));
}

TEST_F(LockEngineIdleTest, InputToARelockedAppIsNotActivity) {
    setNotes(0);
    unlockNotesAndSwitchAway();
    desktop.loop->advance(Seconds{10});
    ASSERT_TRUE(engine->idleTracker().isIdleLocked(kNotes));
    const TimePoint relockedAt = engine->idleTracker().lastActiveTimePerApp().at(kNotes);
    desktop.loop->advance(Seconds{1});
    desktop.eventTaps->deliver({InputEventType::keyDown, notes});
    desktop.loop->runUntilIdle();
    EXPECT_EQ(engine->idleTracker().lastActiveTimePerApp().at(kNotes), relockedAt);
}

TEST_F(LockEngineIdleTest, ResumingRestartsTheIdleTimer) {
    setNotes(0);
    unlockNotesAndSwitchAway();
    engine->pause();
    EXPECT_FALSE(engine->idleTracker().hasGlobalIdleTimer());
    engine->resume();
    desktop.loop->advance(Seconds{11});
    EXPECT_TRUE(engine->idleTracker().isIdleLocked(kNotes));
}

} // namespace
} // namespace velmora::testing
