#include "LockEngineFixture.hpp"

#include <algorithm>
#include <tuple>

namespace velmora::testing {
namespace {

// Placement frames of Notes' window and of the extra windows below, on the 982-high display.
const Rect kNotesPlaced{100, 282, 800, 600};
const Rect kSecond{1000, 200, 300, 200};
const Rect kSecondPlaced{1000, 582, 300, 200};

class LockEngineCoverTest : public LockEngineTest {
protected:
    /// The frames under a cover without a card, left to right.
    std::vector<Rect> covered() const {
        std::vector<Rect> frames;
        for (const auto& window : desktop.overlayWindows->visibleCovers()) {
            frames.push_back(window->frame());
        }
        std::sort(frames.begin(), frames.end(), [](const Rect& a, const Rect& b) {
            return std::tie(a.x, a.y, a.width, a.height) < std::tie(b.x, b.y, b.width, b.height);
        });
        return frames;
    }

    void addWindow(ProcessId pid, const Rect& frame) {
        desktop.windowServer->addWindow(pid, frame.x, frame.y, frame.width, frame.height);
    }
};

TEST_F(LockEngineCoverTest, ASecondWindowAlreadyOpenIsCoveredAtOnceWithTheCardOnTheFrontmost) {
    addWindow(notes, kSecond);
    desktop.activate(notes);
    ASSERT_NE(overlay("Notes"), nullptr);
    EXPECT_EQ(overlay("Notes")->frame(), kSecondPlaced);
    EXPECT_EQ(covered(), (std::vector<Rect>{kNotesPlaced}));
}

TEST_F(LockEngineCoverTest, CoverWindowsShowNoCardAndRefuseTheCardsButtons) {
    addWindow(notes, kSecond);
    desktop.activate(notes);
    const auto covers = desktop.overlayWindows->visibleCovers();
    ASSERT_EQ(covers.size(), 1u);
    const auto& cover = covers.front();
    EXPECT_EQ(cover->level(), kModalPanelWindowLevel);
    EXPECT_EQ(cover->collectionBehavior(), 257u);
    EXPECT_FALSE(cover->pressUnlock());
    EXPECT_FALSE(cover->pressMinimize());
    EXPECT_TRUE(cover->clickBackground());
    desktop.loop->runUntilIdle();
    EXPECT_EQ(desktop.authenticator->promptCount(), 0u);
    EXPECT_FALSE(desktop.workspace->isHidden(notes));
}

TEST_F(LockEngineCoverTest, AWindowOpenedLaterIsCoveredWithinAQuarterSecond) {
    desktop.activate(notes);
    ASSERT_TRUE(covered().empty());
    desktop.windowServer->addWindow(notes, 1000, 200, 300, 200, 3); // a panel, above the window
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(covered(), (std::vector<Rect>{kSecondPlaced}));
    EXPECT_EQ(overlay("Notes")->frame(), kNotesPlaced);
}

TEST_F(LockEngineCoverTest, ANewFrontmostWindowTakesTheCardAndTheOldOneACover) {
    desktop.activate(notes);
    addWindow(notes, kSecond);
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(overlay("Notes")->frame(), kSecondPlaced);
    EXPECT_EQ(covered(), (std::vector<Rect>{kNotesPlaced}));
}

TEST_F(LockEngineCoverTest, ACoverFollowsItsWindowWhenItMovesAndResizes) {
    addWindow(notes, kSecond);
    desktop.activate(notes);
    ASSERT_TRUE(desktop.windowServer->moveWindow(notes, kNotesWindow, {50, 300, 700, 500}));
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(covered(), (std::vector<Rect>{{50, 182, 700, 500}}));
    EXPECT_EQ(desktop.overlayWindows->windowCount(), 2u);
}

TEST_F(LockEngineCoverTest, AnnouncedChangesAreCoveredOnTheNextTurnWithOneLookPerTurn) {
    desktop.windowServer->setAnnouncesChanges(true);
    desktop.activate(notes);
    const auto queries = desktop.windowServer->queryCount();
    addWindow(notes, kSecond);
    Rect at = kNotesWindow;
    for (int step = 0; step < 4; ++step) {
        const Rect next{at.x + 10, at.y, at.width, at.height};
        ASSERT_TRUE(desktop.windowServer->moveWindow(notes, at, next));
        at = next;
    }
    desktop.loop->runUntilIdle();
    EXPECT_EQ(desktop.windowServer->queryCount(), queries + 1);
    EXPECT_EQ(overlay("Notes")->frame(), kSecondPlaced);
    EXPECT_EQ(covered(), (std::vector<Rect>{{140, 282, 800, 600}}));

    unlockNotes();
    addWindow(notes, {0, 0, 100, 100});
    desktop.loop->runUntilIdle();
    EXPECT_TRUE(covered().empty());
}

TEST_F(LockEngineCoverTest, TheCardFollowsTheWindowItCovers) {
    desktop.activate(notes);
    ASSERT_TRUE(desktop.windowServer->moveWindow(notes, kNotesWindow, {1600, 100, 800, 600}));
    desktop.screens->setScreens(
        {{"Built-in", {0, 0, 1512, 982}}, {"External", {1512, 0, 1920, 1080}}});
    desktop.loop->advance(Seconds{0.25});
    ASSERT_NE(overlay("Notes"), nullptr);
    EXPECT_EQ(overlay("Notes")->frame(), (Rect{1600, 282, 800, 600}));
    EXPECT_TRUE(logged("Overlay.show() called for 'Notes' [com.example.notes]"));
    EXPECT_TRUE(covered().empty());
}

TEST_F(LockEngineCoverTest, AWindowLeavingTheDesktopLosesItsCoverAndAReturningOneRegainsIt) {
    addWindow(notes, kSecond);
    desktop.activate(notes);
    ASSERT_TRUE(desktop.windowServer->removeWindow(notes, kNotesWindow));
    desktop.loop->advance(Seconds{0.25});
    EXPECT_TRUE(covered().empty());
    desktop.windowServer->addEntry({notes, 0, 100, 100, 800, 600});
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(overlay("Notes")->frame(), kNotesPlaced);
    EXPECT_EQ(covered(), (std::vector<Rect>{kSecondPlaced}));
    EXPECT_EQ(desktop.overlayWindows->windowCount(), 2u);
}

TEST_F(LockEngineCoverTest, OtherApplicationsAndUnusableWindowsAreNeverCovered) {
    desktop.activate(notes);
    desktop.windowServer->addWindow(editor, 500, 500, 300, 200);
    desktop.windowServer->addWindow(notes, 0, 0, 1512, 25, -20);
    desktop.windowServer->addWindow(notes, 0, 0, 300, 0);
    desktop.loop->advance(Seconds{1});
    EXPECT_TRUE(covered().empty());
    EXPECT_EQ(overlay("Notes")->frame(), kNotesPlaced);
}

TEST_F(LockEngineCoverTest, UnlockingRemovesEveryCoverForGood) {
    addWindow(notes, kSecond);
    unlockNotes();
    EXPECT_TRUE(covered().empty());
    EXPECT_EQ(desktop.overlayWindows->visibleWindowCount(), 0u);
    addWindow(notes, {200, 200, 300, 300});
    const std::size_t queries = desktop.windowServer->queryCount();
    desktop.loop->advance(Seconds{2});
    EXPECT_TRUE(covered().empty());
    EXPECT_EQ(desktop.windowServer->queryCount(), queries);
}

TEST_F(LockEngineCoverTest, MinimizeAndHidingAllOverlaysRemoveEveryCover) {
    addWindow(notes, kSecond);
    desktop.activate(notes);
    ASSERT_TRUE(overlay("Notes")->pressMinimize());
    desktop.loop->runUntilIdle();
    EXPECT_TRUE(desktop.workspace->isHidden(notes));
    EXPECT_EQ(desktop.overlayWindows->visibleWindowCount(), 0u);
    desktop.loop->advance(Seconds{1});
    EXPECT_TRUE(covered().empty());

    desktop.activate(notes);
    ASSERT_EQ(covered().size(), 1u);
    engine->hideAllOverlays();
    desktop.loop->advance(Seconds{1});
    EXPECT_EQ(desktop.overlayWindows->visibleWindowCount(), 0u);
}

TEST_F(LockEngineCoverTest, WhilePausedNothingIsCheckedAndResumingPicksUpWhatChanged) {
    desktop.activate(notes);
    engine->pause();
    const std::size_t queries = desktop.windowServer->queryCount();
    addWindow(notes, kSecond);
    desktop.loop->advance(Seconds{1});
    EXPECT_EQ(desktop.windowServer->queryCount(), queries);
    engine->resume();
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(covered(), (std::vector<Rect>{kNotesPlaced}));
}

TEST_F(LockEngineCoverTest, EveryProcessOfTheLockedAppIsCovered) {
    const ProcessId second = desktop.launchApp(kNotes, "Notes", kSecond);
    desktop.activate(notes);
    EXPECT_EQ(overlay("Notes")->frame(), kNotesPlaced);
    EXPECT_EQ(covered(), (std::vector<Rect>{kSecondPlaced}));

    // Locking the second process forgets the first one's unlock, so it is covered again.
    unlockNotes();
    settle();
    desktop.activate(second);
    ASSERT_NE(overlay("Notes"), nullptr);
    EXPECT_EQ(overlay("Notes")->frame(), kSecondPlaced);
    EXPECT_EQ(covered(), (std::vector<Rect>{kNotesPlaced}));
}

TEST_F(LockEngineCoverTest, AProcessHoldingAnUnlockOfItsOwnStaysUncovered) {
    const ProcessId second = desktop.launchApp(kNotes, "Notes", kSecond);
    desktop.activate(notes);
    engine->stateMachine().unlockedApps()[UnlockKey{kNotes, second}] =
        desktop.loop->now() + std::chrono::hours(1);
    desktop.loop->advance(Seconds{0.25});
    EXPECT_TRUE(covered().empty());
    engine->stateMachine().unlockedApps()[UnlockKey{kNotes, second}] = desktop.loop->now();
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(covered(), (std::vector<Rect>{kSecondPlaced}))
        << "an expired unlock counts for nothing";
}

TEST_F(LockEngineCoverTest, ACardLeftOverAnotherLockedAppKeepsItsCovers) {
    addWindow(notes, kSecond);
    desktop.activate(notes);
    settle();
    const ProcessId mail = protect(kMail, "Mail", Rect{0, 500, 300, 200});
    desktop.activate(mail);
    ASSERT_NE(overlay("Mail"), nullptr);
    ASSERT_NE(overlay("Notes"), nullptr);
    ASSERT_TRUE(desktop.windowServer->moveWindow(notes, kNotesWindow, {50, 100, 800, 600}));
    desktop.loop->advance(Seconds{0.25});
    EXPECT_EQ(covered(), (std::vector<Rect>{{50, 282, 800, 600}}));
}

} // namespace
} // namespace velmora::testing
