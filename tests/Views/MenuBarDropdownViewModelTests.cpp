#include "Views/MenuBarDropdownViewModel.hpp"
#include "Views/ViewModelFixture.hpp"

namespace velmora::testing {
namespace {

class MenuBarDropdownViewModelTest : public ViewModelTest {
protected:
    std::shared_ptr<MenuBarDropdownViewModel> makePanel() {
        return MenuBarDropdownViewModel::create(dropdownCollaborators());
    }

    static std::vector<std::string> names(const MenuBarDropdownViewModel& panel) {
        std::vector<std::string> out;
        for (const auto& row : panel.rows.get()) {
            out.push_back(row->app.get().displayName);
        }
        return out;
    }
};

TEST_F(MenuBarDropdownViewModelTest, HeaderAndWarningRowsFollowThePermissions) {
    using Header = MenuBarDropdownViewModel::HeaderStatus;
    struct Case {
        bool accessibility;
        std::optional<bool> inputMonitoring;
        Header header;
        std::vector<std::string_view> warnings;
    };
    const Header notProtected{"Not Protected", NamedColor::red, NamedColor::red};
    const Header isProtected{"Protected", NamedColor::green, NamedColor::secondary};
    const std::string_view accessibility = "Accessibility Required";
    const std::string_view inputMonitoring = "Input Monitoring Required";
    const Case cases[] = {
        {false, std::nullopt, notProtected, {accessibility, inputMonitoring}},
        {false, true, notProtected, {accessibility}},
        {true, false, isProtected, {inputMonitoring}},
        {true, true, isProtected, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.accessibility << c.inputMonitoring.has_value());
        setPermissions(c.accessibility, c.inputMonitoring);
        const auto panel = makePanel();
        EXPECT_EQ(panel->headerStatus.get(), c.header);
        std::vector<std::string_view> titles;
        for (const auto& warning : panel->warningRows.get()) {
            titles.push_back(warning.title);
        }
        EXPECT_EQ(titles, c.warnings);
    }
}

TEST_F(MenuBarDropdownViewModelTest, WarningRowsLeadToTheirPanes) {
    setPermissions(false, std::nullopt);
    const auto panel = makePanel();
    panel->warningTapped(PermissionType::accessibility);
    EXPECT_FALSE(permissions->inputMonitoringCheckRequested());
    panel->warningTapped(PermissionType::inputMonitoring);
    EXPECT_TRUE(permissions->inputMonitoringCheckRequested());
    EXPECT_EQ(
        desktop.urlOpener->requested(),
        (std::vector<std::string>{std::string(PermissionsManager::accessibilitySettingsUrl),
                                  std::string(PermissionsManager::inputMonitoringSettingsUrl)}));
}

TEST_F(MenuBarDropdownViewModelTest, RowsFollowTheListAndKeepTheirState) {
    const auto panel = makePanel();
    EXPECT_EQ(names(*panel), std::vector<std::string>{"Notes"});

    protect(kMail, "Mail", std::nullopt);
    protect("com.example.maps", "Maps", std::nullopt);
    EXPECT_EQ(names(*panel), (std::vector<std::string>{"Notes", "Mail", "Maps"}));

    const auto mail = panel->rows.get()[1];
    mail->toggleExpanded();
    for (const auto& weaken : std::vector<std::function<void()>>{
             [&] { mail->chooseTimeout(15); }, [&] { mail->setAutoLockEnabled(false); }}) {
        weaken();
        auth->queueResult(AuthResult::success());
        desktop.loop->runUntilIdle();
    }
    EXPECT_EQ(panel->rows.get()[1], mail);
    EXPECT_TRUE(mail->isExpanded.get());
    EXPECT_EQ(mail->app.get().idleTimeoutMinutes, 15);
    EXPECT_FALSE(mail->app.get().autoLockEnabled);

    appState->protectedApps().set({});
    EXPECT_TRUE(panel->rows.get().empty());
    EXPECT_FALSE(panel->lockAllEnabled.get());
}

TEST_F(MenuBarDropdownViewModelTest, LockAllIsAvailableWhileSomethingIsUnlocked) {
    const auto panel = makePanel();
    EXPECT_FALSE(panel->lockAllEnabled.get());

    // A row's own lock shows in the panel at once, even for an app that is not the target.
    unlockNotes();
    const ProcessId mail = protect(kMail, "Mail", Rect{900, 100, 400, 300});
    desktop.activate(mail);
    overlay("Mail")->pressUnlock();
    desktop.loop->runUntilIdle();
    answer(SimAuthenticator::Outcome::succeed());
    panel->rows.get()[0]->badgeTapped();
    EXPECT_TRUE(panel->lockAllEnabled.get());
    panel->lockAll();
    EXPECT_FALSE(engine->isAppUnlocked(kMail));
    EXPECT_FALSE(panel->lockAllEnabled.get());
}

TEST_F(MenuBarDropdownViewModelTest, AddingAnApplication) {
    desktop.bundleReader->addBundle(
        "/Applications/Mail.app",
        {.bundleIdentifier = kMail, .infoStrings = {{"CFBundleName", "Mail"}}});
    desktop.bundleReader->addBundle("/Applications/Broken.app", {});
    const auto panel = makePanel();
    const auto stored = desktop.userDefaults->data("protectedApps");

    const std::vector<std::optional<std::string>> ignored{std::nullopt, "/Applications/Notes.app"};
    auto& picker = *desktop.applicationPicker;
    for (const auto& choice : ignored) {
        panel->addApp();
        choice ? picker.choose(*choice) : picker.cancel();
        desktop.loop->runUntilIdle();
    }
    EXPECT_EQ(names(*panel), std::vector<std::string>{"Notes"});
    EXPECT_EQ(desktop.userDefaults->data("protectedApps"), stored);
    EXPECT_TRUE(desktop.alerts->shown().empty());

    // A bundle without an identifier, and no bundle at all.
    for (const char* invalid : {"/Applications/Broken.app", "/tmp/notes.txt"}) {
        panel->addApp();
        picker.choose(invalid);
        desktop.loop->runUntilIdle();
    }
    EXPECT_EQ(desktop.alerts->shown().size(), 2u);

    panel->addApp();
    picker.choose("/Applications/Mail.app");
    desktop.loop->runUntilIdle();
    EXPECT_EQ(names(*panel), (std::vector<std::string>{"Notes", "Mail"}));
    EXPECT_EQ(desktop.alerts->shown().size(), 2u);
}

TEST_F(MenuBarDropdownViewModelTest, SettingsPopoverIsNewEachTimeItOpensAndQuitAsksTheDelegate) {
    const auto panel = makePanel();
    EXPECT_EQ(popupsMade, 0) << "the updater starts with the first opening";
    panel->toggleSettingsPopover();
    ASSERT_NE(panel->settingsPopup.get(), nullptr);
    const auto first = panel->settingsPopup.get();

    panel->settingsPopoverClosed();
    EXPECT_EQ(panel->settingsPopup.get(), nullptr);
    panel->toggleSettingsPopover();
    EXPECT_NE(panel->settingsPopup.get(), first);
    EXPECT_EQ(popupsMade, 2);

    panel->quit();
    EXPECT_EQ(desktop.hostApplication->terminationRequestCount(), 1u);
}

TEST_F(MenuBarDropdownViewModelTest, NoticesOfAShortListFailedSavesAndFailedAttemptsNeedTheOwner) {
    using Notice = MenuBarDropdownViewModel::Notice;
    // Stored without Notes, which the copy still has.
    desktop.userDefaults->setData("protectedApps", "[]");
    appState = AppState::create(AppState::collaborators(platform));
    const auto attempts =
        FailedAttempts::create({desktop.stateStore, desktop.loop, desktop.loop, logger});
    auto collaborators = dropdownCollaborators();
    collaborators.failedAttempts = attempts;
    collaborators.clock = desktop.loop;
    const auto panel = MenuBarDropdownViewModel::create(collaborators);
    EXPECT_EQ(panel->storedListNotice.get(),
              (Notice{"The protected apps list was changed", "Still protected: Notes"}));
    panel->keepStoredList();
    EXPECT_EQ(auth->reasons,
              std::vector<std::string>{"Authenticate to keep the changed list of protected apps"});
    auth->queueResult(AuthResult::success());
    desktop.loop->runUntilIdle();
    EXPECT_FALSE(panel->storedListNotice.get());
    EXPECT_FALSE(appState->isProtected(kNotes));

    ::testing::internal::CaptureStdout();
    desktop.userDefaults->setReadOnly(true);
    appState->saveProtectedApps();
    ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(panel->saveFailureNotice.get());
    EXPECT_EQ(panel->saveFailureNotice.get()->title, "Couldn't save the protected apps list");

    attempts->recordFailure("Notes");
    attempts->recordFailure("Mail");
    EXPECT_TRUE(
        panel->failedAttemptsText.get().value_or("").starts_with("2 failed attempts since "));
    panel->dismissFailedAttempts();
    auth->queueResult(AuthResult::success());
    desktop.loop->runUntilIdle();
    EXPECT_FALSE(panel->failedAttemptsText.get());
}

} // namespace
} // namespace velmora::testing
