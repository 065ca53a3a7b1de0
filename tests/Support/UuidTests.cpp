#include "Support/Uuid.hpp"

#include <gtest/gtest.h>
#include <set>

namespace velmora {
namespace {

TEST(Uuid, NewUuidsAreCanonicalVersionFourAndDistinct) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string uuid = makeUuidString();
        EXPECT_EQ(canonicalUuidString(uuid), uuid);
        EXPECT_EQ(uuid[14], '4');
        EXPECT_NE(std::string_view("89AB").find(uuid[19]), std::string_view::npos) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(Uuid, CanonicalFormIsUpperCaseAndOnlyForTheDashedForm) {
    EXPECT_EQ(canonicalUuidString("6f9619ff-8b86-4d11-b42d-00c04fc964fF"),
              "6F9619FF-8B86-4D11-B42D-00C04FC964FF");
    for (const char* bad :
         {"", "{6F9619FF-8B86-4D11-B42D-00C04FC964FF}", "6F9619FF-8B86-4D11-B42D-00C04FC964FG"}) {
        EXPECT_FALSE(canonicalUuidString(bad)) << bad;
    }
}

} // namespace
} // namespace velmora
