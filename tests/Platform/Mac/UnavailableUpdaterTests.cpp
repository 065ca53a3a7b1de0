#include "Platform/Mac/SparkleLookup.hpp"
#include "Platform/Mac/UnavailableUpdater.hpp"

#include <gtest/gtest.h>
#include <set>
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

TEST(SparkleLookup, EveryFailureHasItsOwnDescriptionWithOrWithoutDetail) {
    std::set<std::string> texts;
    for (auto failure :
         {SparkleLookupFailure::frameworkMissing, SparkleLookupFailure::frameworkNotLoaded,
          SparkleLookupFailure::controllerClassMissing, SparkleLookupFailure::controllerUnusable}) {
        const std::string bare = describe(failure, "");
        EXPECT_EQ(bare.find('('), std::string::npos) << bare;
        EXPECT_EQ(describe(failure, "code signature invalid"), bare + " (code signature invalid)");
        texts.insert(bare);
    }
    EXPECT_EQ(texts.size(), 4u);
}

} // namespace
} // namespace velmora
