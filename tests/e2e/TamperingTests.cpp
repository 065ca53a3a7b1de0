// What a person at the owner's unlocked session might try, without the password, to take an
// application out of protection: desktop entries that claim its windows, a deleted settings
// file.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

#include <csignal>

namespace velmora::e2e {
namespace {

using Tampering = EndToEndTest;

TEST_F(Tampering, ClaimingEntriesForeignClassesAndADeletedSettingsFileLeaveItCovered) {
    startDesktop({.protectedApps = {testClientEntry()},
                  .applications = {{"org.example.Other", "Other", "/bin/true", "OtherApp"}}});
    startVelmora();
    // Saved once Velmora runs, sorted before the protected entry, naming its class.
    DesktopEntry{"aaa.Claim", "Claim", "/bin/true", TestClientProcess::Options{}.wmClass}.writeInto(
        desktop().dataHome());
    const std::pair<const char*, const char*> cases[] = {{"claimed", "VelmoraTestClient"},
                                                         {"foreign", "OtherApp"}};
    std::vector<WindowInfo> shown;
    for (const auto& [name, wmClass] : cases) {
        SCOPED_TRACE(name);
        const auto covered = launchCoveredClient(name, {.appId = "", .wmClass = wmClass});
        ASSERT_TRUE(covered);
        EXPECT_FALSE(shows(covered->window.frame, kClientColor));
        shown.push_back(covered->window);
    }

    // The settings file deleted. Velmora is held still, so that it cannot write the list back
    // before it dies; its guard starts Velmora again.
    const pid_t first = velmora().pid();
    ASSERT_EQ(::kill(first, SIGSTOP), 0);
    std::filesystem::remove(desktop().configHome() / "velmora" / "defaults.json");
    ASSERT_EQ(::kill(first, SIGKILL), 0);
    // Killed moments after it started, Velmora has still told its guard what to hide.
    for (const WindowInfo& window : shown) {
        EXPECT_TRUE(eventually([&] { return isHidden(window); })) << window.title << " stays shown";
    }

    // The panel, a window of its own on a desktop without a tray, bears the warning band.
    const auto panel = desktop().display().waitFor(
        [&](const WindowInfo& info) {
            return info.pid != first && isVelmoraWindow(info) && info.viewable &&
                   !info.overrideRedirect;
        },
        std::chrono::seconds{15});
    ASSERT_TRUE(panel) << "Velmora was not started again";
    constexpr Rgb kWarningBand{221, 63, 55};
    EXPECT_TRUE(eventually([&] {
        return desktop().display().capture(panel->frame).band(kWarningBand, 200, 6).has_value();
    }));
    EXPECT_TRUE(eventually(
        [&] { return velmora().log().find("protects less than the copy") != std::string::npos; }));

    EXPECT_TRUE(launchCoveredClient("client"))
        << "a client opened once Velmora is back is not covered, or the guard still hides it";
}

} // namespace
} // namespace velmora::e2e
