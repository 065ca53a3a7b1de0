#include "Platform/Mac/SparkleLookup.hpp"
#include "Platform/Mac/UnavailableUpdater.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace velmora {
namespace {

TEST(UnavailableUpdater, NeverLetsTheUserCheckAndSaysWhyItCannotStart) {
    UnavailableUpdater updater(describe(SparkleLookupFailure::frameworkMissing,
                                        "/Applications/Velmora.app/Contents/Frameworks"));
    updater.setAutomaticallyChecksForUpdates(true);

    std::vector<bool> delivered;
    const Subscription subscription =
        updater.observeCanCheckForUpdates([&](bool can) { delivered.push_back(can); });
    EXPECT_EQ(updater.startUpdater(),
              "Sparkle.framework not found (/Applications/Velmora.app/Contents/Frameworks)");
    updater.checkForUpdates();

    EXPECT_EQ(delivered, std::vector<bool>{false});
}

} // namespace
} // namespace velmora
