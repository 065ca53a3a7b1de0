#include "Platform/Sim/SimUpdater.hpp"
#include "Services/UpdateManager.hpp"
#include "Views/CheckForUpdatesViewModel.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(UpdateManager, StartsOneUpdaterWhoseStateTheViewModelShowsAtOnceAndFollows) {
    int created = 0;
    auto updater = std::make_shared<SimUpdater>();
    UpdateManager manager([&] {
        ++created;
        return updater;
    });
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(updater->started);

    CheckForUpdatesViewModel model(manager.updater());
    EXPECT_TRUE(model.canCheckForUpdates.get());
    updater->setCanCheckForUpdates(false);
    EXPECT_FALSE(model.canCheckForUpdates.get());
    model.updater().checkForUpdates();
    EXPECT_EQ(updater->checksRequested, 1u);
}

TEST(UpdateManager, AFailedStartLeavesNothingToCheck) {
    auto updater = std::make_shared<SimUpdater>();
    updater->startError = "The feed URL is missing";

    ::testing::internal::CaptureStdout();
    UpdateManager manager([&] { return updater; });
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(updater->startCount, 1u);
    CheckForUpdatesViewModel model(manager.updater());
    EXPECT_FALSE(model.canCheckForUpdates.get());
}

} // namespace
} // namespace velmora
