#include "Core/Overlay/BiometricLabel.hpp"
#include "Core/Overlay/OverlayContentView.hpp"
#include "Platform/Sim/SimAuthenticator.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace velmora {
namespace {

TEST(BiometricLabel, FollowsTheSensorTheContextReports) {
    const std::vector<std::tuple<BiometryType, std::string_view, std::string_view>> rows{
        {BiometryType::none, "key.fill", "Passcode"},
        {BiometryType::touchID, "touchid", "Touch ID"},
        {static_cast<BiometryType>(3), "lock.open.fill", "Biometrics"},
    };
    auto owner = std::make_shared<SimAuthenticator>();
    // Whether the policy can be evaluated does not matter, only the sensor reported.
    owner->setCanEvaluate(false, OwnerAuthenticationError::local(LAErrorCode::biometryLockout));
    const auto contexts = makeContextFactory(owner);
    for (const auto& [type, icon, name] : rows) {
        owner->setBiometryType(type);
        EXPECT_EQ(biometricIconName(contexts), icon);
        EXPECT_EQ(biometricName(contexts), name);
    }
    EXPECT_EQ(owner->liveContextCount(), 0u);
    EXPECT_EQ(biometricName({}), "Passcode");
    EXPECT_EQ(biometricIconName(makeContextFactory(nullptr)), "key.fill");
}

struct OverlayContentTest : ::testing::Test {
    std::shared_ptr<SimAuthenticator> owner = std::make_shared<SimAuthenticator>();
    int unlocks = 0;
};

// What the buttons run is pressed through the engine's tests and the scenarios.
TEST_F(OverlayContentTest, CardFollowsTheSensorAtEachRedraw) {
    owner->setBiometryType(BiometryType::touchID);
    const OverlayContentView view("Notes", {}, {}, makeContextFactory(owner));
    EXPECT_EQ(view.card().unlockTitle(), "Unlock with Touch ID");
    owner->setBiometryType(BiometryType::none);
    EXPECT_EQ(view.card().unlockTitle(), "Unlock with Passcode");
}

TEST_F(OverlayContentTest, WhileFailedAttemptsImposeAWaitTheCardSaysSoAndUnlockDoesNothing) {
    const auto loop = std::make_shared<ManualRunLoop>();
    const auto attempts =
        FailedAttempts::create({nullptr, loop, loop, std::make_shared<testing::RecordingLogger>()});
    OverlayContentView view(
        "Notes", [this] { ++unlocks; }, {}, nullptr, attempts);
    int changes = 0;
    const Subscription watching = view.observeUnlockWait([&] { ++changes; });
    for (int i = 0; i < 3; ++i) {
        attempts->recordFailure("Notes");
    }
    EXPECT_EQ(view.unlockWaitText(), "Try again in 30 s");
    view.unlockTapped();
    EXPECT_EQ(unlocks, 0);

    loop->advance(Seconds{30});
    EXPECT_EQ(view.unlockWaitText(), "");
    EXPECT_EQ(changes, 31);
    view.unlockTapped();
    EXPECT_EQ(unlocks, 1);
}

TEST_F(OverlayContentTest, AButtonWhoseActionDestroysTheCardFinishesSafely) {
    std::shared_ptr<OverlayContentView> view;
    std::string seen;
    view = std::make_shared<OverlayContentView>(
        "Notes",
        [&view, &seen] {
            view.reset();
            seen = "ran after the card went away";
        },
        nullptr, nullptr);
    view->card().unlockTapped();
    EXPECT_EQ(seen, "ran after the card went away");
}

} // namespace
} // namespace velmora
