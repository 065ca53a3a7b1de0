#include "Models/AppState.hpp"
#include "Models/ProtectedAppsCoding.hpp"
#include "Platform/Sim/SimBundleReader.hpp"
#include "Platform/Sim/SimStateStore.hpp"
#include "Platform/Sim/SimUserDefaults.hpp"
#include "Platform/Sim/SimWorkspace.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class AppStateTest : public ::testing::Test {
protected:
    std::shared_ptr<AppState> makeState() {
        return AppState::create({defaults, bundles, desktop, loop, logger, loop, store});
    }

    /// Makes a state, dropping what it prints about an unreadable list.
    std::shared_ptr<AppState> makeStateQuietly() {
        ::testing::internal::CaptureStdout();
        auto state = makeState();
        ::testing::internal::GetCapturedStdout();
        return state;
    }

    std::vector<ProtectedApp> stored() const {
        return decodeProtectedApps(defaults->data("protectedApps").value_or("")).value();
    }

    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<SimWorkspace> desktop = std::make_shared<SimWorkspace>(*loop);
    std::shared_ptr<SimUserDefaults> defaults = std::make_shared<SimUserDefaults>();
    std::shared_ptr<SimBundleReader> bundles = std::make_shared<SimBundleReader>();
    std::shared_ptr<SimStateStore> store = std::make_shared<SimStateStore>();
    std::shared_ptr<testing::RecordingLogger> logger = std::make_shared<testing::RecordingLogger>();
};

const std::string kUnreadable =
    R"([{"id":"6F9619FF-8B86-4D11-B42D-00C04FC964FF","bundleIdentifier":"com.example.notes",)"
    R"("displayName":"Notes","addedDate":1,"autoLockEnabled":true}])";

TEST_F(AppStateTest, ChangesAreSavedAndReadBackByTheNextStart) {
    auto state = makeState();
    const TimePoint added = loop->now() + std::chrono::milliseconds{250};
    state->addApp(ProtectedApp::make("com.example.notes", "Notes", added));
    state->addApp(ProtectedApp::make("com.example.mail", "Mail", added));
    const std::string notesId = state->protectedApps().get()[0].id;
    state->setAutoLockEnabled(notesId, false);
    state->setIdleTimeoutMinutes(notesId, 12);
    const std::string blob = *defaults->data("protectedApps");

    auto next = makeState();

    EXPECT_EQ(next->protectedApps().get(), state->protectedApps().get());
    EXPECT_EQ(next->protectedApp("com.example.notes")->idleTimeoutMinutes, 12);
    next->saveProtectedApps();
    EXPECT_EQ(*defaults->data("protectedApps"), blob);
}

TEST_F(AppStateTest, UnreadableDataIsReportedAndNeverOverwrittenUntilKeptAsideBesideOlderOnes) {
    defaults->setData("protectedApps.unreadable", "an older unreadable list");
    defaults->setData("protectedApps", kUnreadable);
    defaults->setReadOnly(true);
    const auto state = makeStateQuietly();
    EXPECT_TRUE(state->protectedApps().get().empty());
    EXPECT_EQ(logger->entries.size(), 1u);

    ::testing::internal::CaptureStdout();
    state->addApp(ProtectedApp::make("com.example.mail", "Mail", loop->now()));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(defaults->data("protectedApps"), kUnreadable);

    defaults->setReadOnly(false);
    state->saveProtectedApps();

    EXPECT_EQ(stored().size(), 1u);
    EXPECT_EQ(defaults->data("protectedApps.unreadable"), "an older unreadable list");
    EXPECT_EQ(defaults->data("protectedApps.unreadable.2"), kUnreadable);
}

TEST_F(AppStateTest, RefusedChangesWriteNothing) {
    auto state = makeState();
    state->addApp(ProtectedApp::make("com.example.notes", "Notes", loop->now()));
    const auto before = state->protectedApps().get();
    const auto writes = defaults->writes().size();

    state->addApp(ProtectedApp::make("com.example.notes", "Other Notes", loop->now()));
    state->setAutoLockEnabled("00000000-0000-4000-8000-000000000000", false);
    state->setIdleTimeoutMinutes("00000000-0000-4000-8000-000000000000", 30);

    EXPECT_EQ(state->protectedApps().get(), before);
    EXPECT_EQ(defaults->writes().size(), writes);
}

TEST_F(AppStateTest, IdleTimeoutIsClampedToAnHour) {
    auto state = makeState();
    state->addApp(ProtectedApp::make("com.example.notes", "Notes", loop->now()));
    const std::string id = state->protectedApps().get()[0].id;
    for (const auto& [minutes, kept] : std::vector<std::pair<std::int64_t, std::int64_t>>{
             {90, 60}, {-3, 0}, {0, 0}, {60, 60}, {17, 17}, {INT64_MIN, 0}}) {
        state->setIdleTimeoutMinutes(id, minutes);
        EXPECT_EQ(stored()[0].idleTimeoutMinutes, kept) << minutes;
    }
}

TEST(ProtectedListMerge, NothingButTheCopyMayProtectMoreAndTheUnionIsKept) {
    using Kind = StoredListProblem::Kind;
    using enum StoredListProblem::Kind;
    const auto app = [](const char* id, bool autoLock = true, std::int64_t minutes = 5) {
        return ProtectedApp{.bundleIdentifier = id,
                            .displayName = id,
                            .autoLockEnabled = autoLock,
                            .idleTimeoutMinutes = minutes};
    };
    using List = std::vector<ProtectedApp>;
    struct Case {
        const char* name;
        std::optional<List> stored;
        Kind whyNotStored;
        List copy;
        List merged;
        std::optional<Kind> problem = std::nullopt;
        const char* kept = "";
    };
    const ProtectedApp a = app("a");
    const ProtectedApp b = app("b");
    const ProtectedApp strict = app("a", true, 1);
    const Case cases[] = {
        {"first start", std::nullopt, missing, {}, {}},
        {"missing", std::nullopt, missing, {a}, {a}, missing, "a"},
        {"unreadable", std::nullopt, unreadable, {a}, {a}, unreadable, "a"},
        {"one removed", List{a}, missing, {a, b}, {a, b}, weakened, "b"},
        {"one swapped", List{app("c")}, missing, {a}, {app("c"), a}, weakened, "a"},
        {"weaker settings", List{app("a", false, 30)}, missing, {a}, {a}, weakened, "a"},
        {"stronger or added by hand", List{strict, b}, missing, {app("a", false, 5)}, {strict, b}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto merged = mergeProtectedLists(c.stored, c.whyNotStored, c.copy);
        EXPECT_EQ(merged.apps, c.merged);
        std::optional<StoredListProblem> problem;
        if (c.problem) {
            problem = StoredListProblem{*c.problem, {c.kept}};
        }
        EXPECT_EQ(merged.problem, problem);
    }
}

TEST_F(AppStateTest, AListThatLostEntriesKeepsProtectingThemUntilTheOwnerSettlesIt) {
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "keep" : "restore");
        defaults->remove("protectedApps");
        store->files.clear();
        auto first = makeState();
        first->addApp(ProtectedApp::make("com.example.notes", "Notes", loop->now()));
        first->addApp(ProtectedApp::make("com.example.mail", "Mail", loop->now()));
        auto edited = stored();
        edited.pop_back();
        defaults->setData("protectedApps", *encodeProtectedApps(edited));

        auto state = makeState();
        EXPECT_TRUE(state->isProtected("com.example.mail"));
        ASSERT_TRUE(state->storedListProblem().get());
        EXPECT_EQ(state->storedListProblem().get()->keptApps, std::vector<std::string>{"Mail"});
        // Added meanwhile: no part of the settling.
        state->addApp(ProtectedApp::make("com.example.maps", "Maps", loop->now()));
        keep ? state->keepStoredList() : state->restoreProtectedList();

        EXPECT_FALSE(state->storedListProblem().get());
        EXPECT_EQ(state->isProtected("com.example.mail"), !keep);
        EXPECT_TRUE(state->isProtected("com.example.maps"));
        EXPECT_EQ(stored(), state->protectedApps().get());
        EXPECT_FALSE(makeState()->storedListProblem().get());
    }
}

TEST_F(AppStateTest, AFailedSaveIsShownAndTriedAgainUntilItSucceeds) {
    auto state = makeState();
    defaults->setReadOnly(true);
    ::testing::internal::CaptureStdout();
    state->addApp(ProtectedApp::make("com.example.notes", "Notes", loop->now()));
    EXPECT_TRUE(state->saveFailing().get());
    loop->advance(AppState::firstSaveRetry);
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(state->saveFailing().get());
    // Even unsaved, the next start protects it: the copy has it.
    EXPECT_TRUE(makeState()->isProtected("com.example.notes"));

    defaults->setReadOnly(false);
    loop->advance(AppState::firstSaveRetry * 2);
    EXPECT_FALSE(state->saveFailing().get());
    EXPECT_EQ(stored().size(), 1u);
}

} // namespace
} // namespace velmora
