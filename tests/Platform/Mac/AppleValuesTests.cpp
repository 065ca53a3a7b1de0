#include "Platform/Mac/AppleValues.hpp"
#include "Platform/NotificationCenter.hpp"
#include "Platform/UrlOpening.hpp"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace velmora {
namespace {

TEST(AppleValues, ActivationPoliciesReadAndWriteTheirRawValues) {
    const struct {
        long long raw;
        ActivationPolicy policy;
    } known[] = {
        {0, ActivationPolicy::regular},
        {1, ActivationPolicy::accessory},
        {2, ActivationPolicy::prohibited},
    };
    for (const auto& c : known) {
        EXPECT_EQ(activationPolicyFromRaw(c.raw), c.policy) << c.raw;
        EXPECT_EQ(rawActivationPolicy(c.policy), c.raw) << c.raw;
    }
    // Never taken for an ordinary application that could be brought forward.
    EXPECT_EQ(activationPolicyFromRaw(3), ActivationPolicy::prohibited);
    EXPECT_EQ(activationPolicyFromRaw(-1), ActivationPolicy::prohibited);
}

TEST(AppleValues, BiometryTypesKeepTheSystemsValuesButNeverTheLinuxReader) {
    const struct {
        long long raw;
        BiometryType type;
    } cases[] = {
        {0, BiometryType::none},           {1, BiometryType::touchID}, {2, BiometryType::faceID},
        {4, BiometryType::opticID}, // missing from older SDK headers
        {3, static_cast<BiometryType>(3)}, {100, BiometryType::none},  {-1, BiometryType::none},
        {1LL << 40, BiometryType::none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(biometryTypeFromRaw(c.raw), c.type) << c.raw;
    }
}

TEST(AppleValues, OnlyAnEnabledLoginItemCountsAsEnabled) {
    EXPECT_FALSE(isLoginItemEnabled(0)); // not registered
    EXPECT_TRUE(isLoginItemEnabled(1));
    EXPECT_FALSE(isLoginItemEnabled(2)); // waiting for the user's approval
    EXPECT_FALSE(isLoginItemEnabled(3)); // not found
}

TEST(AppleValues, QuartzEventsKeepTheirTypeAndATargetThatFits) {
    EXPECT_EQ(inputEventFromQuartz(10, 4242).type, InputEventType::keyDown);
    EXPECT_EQ(inputEventFromQuartz(10, 4242).targetPid, 4242);
    EXPECT_EQ(inputEventFromQuartz(0xFFFFFFFEu, 0).type, InputEventType::tapDisabledByTimeout);
    EXPECT_EQ(inputEventFromQuartz(0xFFFFFFFFu, 0).type, InputEventType::tapDisabledByUserInput);
    // The field is 64 bits wide; a value no process can have names no target.
    EXPECT_EQ(inputEventFromQuartz(1, 1LL << 33).targetPid, 0);
    EXPECT_EQ(inputEventFromQuartz(1, -(1LL << 33)).targetPid, 0);
}

TEST(AppleValues, PortableNamesMapToTheSystemsOwnAndOthersPassThrough) {
    const std::string pane = "x-apple.systempreferences:com.apple.preference.security?";
    const std::vector<std::pair<std::string, std::string>> urls{
        {std::string(settings_links::accessibility), pane + "Privacy_Accessibility"},
        {std::string(settings_links::inputMonitoring), pane + "Privacy_ListenEvent"},
        {"https://example.org/", "https://example.org/"},
    };
    for (const auto& [url, expected] : urls) {
        EXPECT_EQ(appleSettingsUrl(url), expected);
    }
    EXPECT_EQ(appleNotificationName(session_events::screenLocked), "com.apple.screenIsLocked");
    EXPECT_EQ(appleNotificationName("openSettingsRequested"), "openSettingsRequested");
    EXPECT_TRUE(appleSystemAgents().isAgent("com.apple.SecurityAgent"));
    EXPECT_TRUE(appleSystemAgents().isFileManager("com.apple.finder"));
}

} // namespace
} // namespace velmora
