#include "Platform/Sim/SimLoginItems.hpp"
#include "Platform/Sim/SimSystemLog.hpp"
#include "Platform/Sim/SimUpdater.hpp"
#include "Platform/Sim/SimUrlOpener.hpp"
#include "Platform/Sim/SimUserDefaults.hpp"
#include "Support/FakeAuthenticator.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Views/SettingsPopupViewModel.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

class SettingsPopupViewModelTest : public ::testing::Test {
protected:
    std::unique_ptr<SettingsPopupViewModel>
    open(std::map<std::string, std::string> bundleInfo = {}) {
        auto popup = std::make_unique<SettingsPopupViewModel>(SettingsPopupViewModel::Collaborators{
            .userDefaults = defaults,
            .loginItems = loginItems,
            .systemLog = systemLog,
            .urlOpener = urls,
            .updater = updater,
            .mainBundleInfo = std::move(bundleInfo),
            .authManager = auth,
        });
        popup->appeared();
        return popup;
    }

    [[nodiscard]] bool stored() const { return defaults->boolean("launchAtLogin").value_or(false); }

    std::shared_ptr<SimUserDefaults> defaults = std::make_shared<SimUserDefaults>();
    std::shared_ptr<SimLoginItems> loginItems = std::make_shared<SimLoginItems>();
    std::shared_ptr<SimSystemLog> systemLog = std::make_shared<SimSystemLog>();
    std::shared_ptr<SimUrlOpener> urls = std::make_shared<SimUrlOpener>();
    std::shared_ptr<SimUpdater> updater = std::make_shared<SimUpdater>();
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<testing::FakeAuthenticator> auth =
        std::make_shared<testing::FakeAuthenticator>(loop);
};

TEST_F(SettingsPopupViewModelTest, OpeningTakesTheLoginItemsRealStateAndAppliesTheChange) {
    struct Case {
        std::optional<bool> stored;
        bool systemEnabled;
        Lines log;
    };
    const Case cases[] = {
        {std::nullopt, false, {}},
        {true, true, {}},
        {false, true, {"SettingsPopupView: Registered for launch at login"}},
        {true, false, {"SettingsPopupView: Unregistered from launch at login"}},
    };
    for (const Case& c : cases) {
        defaults = std::make_shared<SimUserDefaults>();
        if (c.stored) {
            defaults->setBool("launchAtLogin", *c.stored);
        }
        loginItems = std::make_shared<SimLoginItems>();
        loginItems->enabled = c.systemEnabled;
        systemLog = std::make_shared<SimSystemLog>();

        const auto popup = open();
        EXPECT_EQ(popup->launchAtLogin.get(), c.systemEnabled);
        EXPECT_EQ(stored(), c.systemEnabled);
        EXPECT_EQ(loginItems->registerCalls + loginItems->unregisterCalls, c.log.size());
        EXPECT_EQ(systemLog->lines(), c.log);
    }
}

TEST_F(SettingsPopupViewModelTest, ARefusedChangeKeepsTheSwitchUntilTheNextOpening) {
    loginItems->refusal = "Operation not permitted";
    auto popup = open();
    popup->setLaunchAtLogin(true);
    EXPECT_TRUE(popup->launchAtLogin.get());
    EXPECT_TRUE(stored());

    popup = open();
    EXPECT_FALSE(popup->launchAtLogin.get());
    EXPECT_EQ(loginItems->unregisterCalls, 1u);

    loginItems->refusal.reset();
    popup->setLaunchAtLogin(true);
    EXPECT_TRUE(loginItems->enabled);
}

TEST_F(SettingsPopupViewModelTest, TurningItOffWaitsForTheOwnerEvenOnceThePopoverCloses) {
    loginItems->enabled = true;
    auto popup = open();
    popup->setLaunchAtLogin(false);
    EXPECT_EQ(auth->reasons, Lines{"Authenticate to turn off Launch at Login"});
    auth->queueResult(AuthResult::failure(AuthError::userCancelled()));
    loop->runUntilIdle();
    EXPECT_TRUE(popup->launchAtLogin.get());
    EXPECT_TRUE(loginItems->enabled);

    popup->setLaunchAtLogin(false);
    popup.reset();
    auth->queueResult(AuthResult::success());
    loop->runUntilIdle();
    EXPECT_FALSE(loginItems->enabled);
    EXPECT_FALSE(stored());
}

} // namespace
} // namespace velmora
