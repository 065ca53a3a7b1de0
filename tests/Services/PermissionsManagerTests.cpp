#include "Platform/Sim/SimAccessibilityTrust.hpp"
#include "Platform/Sim/SimEventTaps.hpp"
#include "Platform/Sim/SimHostApplication.hpp"
#include "Platform/Sim/SimMainBundle.hpp"
#include "Platform/Sim/SimSystemLog.hpp"
#include "Platform/Sim/SimUrlOpener.hpp"
#include "Platform/Sim/SimUserDefaults.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const std::string kKey{PermissionsManager::inputMonitoringGrantedKey};
const std::string kStartLine = "[Velmora] Starting permission polling (every 1s)";

class PermissionsManagerTest : public ::testing::Test {
protected:
    std::shared_ptr<PermissionsManager> make(SimMainBundle::Contents bundle = {}) {
        return PermissionsManager::create({
            .accessibility = trust,
            .eventTaps = taps,
            .userDefaults = defaults,
            .application = application,
            .urlOpener = std::make_shared<SimUrlOpener>(),
            .systemLog = systemLog,
            .mainBundle = std::make_shared<SimMainBundle>(std::move(bundle)),
            .runLoop = loop,
            .timeProvider = loop,
        });
    }

    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<SimAccessibilityTrust> trust = std::make_shared<SimAccessibilityTrust>();
    std::shared_ptr<SimEventTaps> taps = std::make_shared<SimEventTaps>();
    std::shared_ptr<SimUserDefaults> defaults = std::make_shared<SimUserDefaults>();
    std::shared_ptr<SimHostApplication> application = std::make_shared<SimHostApplication>(*loop);
    std::shared_ptr<SimSystemLog> systemLog = std::make_shared<SimSystemLog>();
};

TEST_F(PermissionsManagerTest, FirstCheckAtConstruction) {
    struct Case {
        bool trusted;
        std::optional<bool> storedFlag;
        bool tapsAllowed;
        PermissionStatus inputMonitoring;
    };
    const std::vector<Case> cases{
        {true, std::nullopt, true, PermissionStatus::unknown},
        {false, std::nullopt, true, PermissionStatus::unknown},
        {true, false, true, PermissionStatus::unknown},
        {true, true, true, PermissionStatus::granted},
        {true, true, false, PermissionStatus::denied},
        {false, true, true, PermissionStatus::granted},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        trust->setTrusted(c.trusted);
        defaults = std::make_shared<SimUserDefaults>();
        if (c.storedFlag) {
            defaults->setBool(kKey, *c.storedFlag);
        }
        taps->setCreationAllowed(c.tapsAllowed);

        ::testing::internal::CaptureStdout();
        const auto manager = make();
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(manager->accessibilityStatus().get(),
                  c.trusted ? PermissionStatus::granted : PermissionStatus::denied);
        EXPECT_EQ(manager->inputMonitoringStatus().get(), c.inputMonitoring);
        EXPECT_EQ(manager->requiredPermissionsGranted().get(), c.trusted);
        EXPECT_EQ(manager->allPermissionsGranted().get(),
                  c.trusted && c.inputMonitoring == PermissionStatus::granted);
        EXPECT_EQ(manager->isPolling(), !c.trusted);
    }
}

TEST_F(PermissionsManagerTest, RequestedInputMonitoringIsDeniedThenGrantedAndRemembered) {
    trust->setTrusted(true);
    taps->setCreationAllowed(false);
    const auto manager = make();

    manager->requestInputMonitoring();
    EXPECT_TRUE(manager->inputMonitoringCheckRequested());
    loop->advance(Seconds{0.9});
    EXPECT_EQ(manager->inputMonitoringStatus().get(), PermissionStatus::unknown);
    loop->advance(Seconds{0.1});
    EXPECT_EQ(manager->inputMonitoringStatus().get(), PermissionStatus::denied);
    EXPECT_FALSE(defaults->contains(kKey));

    taps->setCreationAllowed(true);
    application->setActive(true);
    loop->runUntilIdle();
    EXPECT_EQ(manager->inputMonitoringStatus().get(), PermissionStatus::granted);
    EXPECT_TRUE(manager->allPermissionsGranted().get());
    EXPECT_EQ(defaults->boolean(kKey), true);
    EXPECT_EQ(taps->liveTapCount(), 0u);
}

TEST_F(PermissionsManagerTest, ChecksThatChangeNothingPublishNothing) {
    defaults->setBool(kKey, true);
    const auto manager = make();
    int notifications = 0;
    const auto count = [&](const auto&) { ++notifications; };
    const Subscription subscriptions[] = {
        manager->accessibilityStatus().subscribeToChanges(count),
        manager->inputMonitoringStatus().subscribeToChanges(count),
        manager->requiredPermissionsGranted().subscribeToChanges(count),
        manager->allPermissionsGranted().subscribeToChanges(count),
    };

    manager->checkPermissions();
    manager->checkPermissions();
    EXPECT_EQ(notifications, 0);

    trust->setTrusted(true);
    ::testing::internal::CaptureStdout();
    manager->checkPermissions();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(notifications, 3);
}

TEST_F(PermissionsManagerTest, OpeningSettingsPollsWhileAccessibilityIsMissing) {
    trust->setTrusted(true);
    const auto manager = make();
    manager->openSystemSettings(PermissionType::inputMonitoring);
    EXPECT_FALSE(manager->isPolling());

    trust->setTrusted(false);
    manager->checkPermissions();
    manager->openSystemSettings(PermissionType::accessibility);
    EXPECT_TRUE(manager->isPolling());
}

TEST_F(PermissionsManagerTest, AManagerThatIsGoneNoLongerPollsOrListens) {
    auto manager = make();
    manager->requestInputMonitoring();
    std::weak_ptr<PermissionsManager> weak = manager;
    manager.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(loop->activeTimerCount(), 1u); // only the one-shot delayed check, which is inert
    application->setActive(true);
    loop->advance(Seconds{5});
    EXPECT_EQ(systemLog->lines(), std::vector<std::string>{kStartLine});
}

TEST_F(PermissionsManagerTest, DiagnosticsBlock) {
    defaults->setBool(kKey, true);
    loop->advance(Seconds{3723.9});
    const auto manager = make({.bundleIdentifier = std::nullopt,
                               .bundlePath = "/Applications/Velmora.app",
                               .executablePath = std::nullopt});

    const auto diagnostics = manager->getDiagnostics();
    EXPECT_FALSE(diagnostics.accessibilityAuthorized);
    EXPECT_TRUE(diagnostics.inputMonitoringAuthorized);
    EXPECT_EQ(diagnostics.formattedText(), "=== Velmora Diagnostics ===\n"
                                           "Timestamp: 2025-01-01 01:02:03 +0000\n"
                                           "Bundle ID: unknown\n"
                                           "Bundle Path: /Applications/Velmora.app\n"
                                           "Executable: unknown\n"
                                           "Accessibility: NOT AUTHORIZED\n"
                                           "Input Monitoring: AUTHORIZED\n"
                                           "===========================");
}

} // namespace
} // namespace velmora
