#include "LockEngineFixture.hpp"

namespace velmora::testing {
namespace {

TEST_F(LockEngineTest, OwnWindowsAndFinderBehindTheFilePickerChangeNothing) {
    desktop.activate(notes);
    const ProcessId finder = desktop.launchApp("com.apple.finder", "Finder");
    desktop.hostApplication->openWindow(AppWindowKind::openPanel);
    const std::size_t logLines = logger->entries.size();
    settle();
    desktop.activate(desktop.hostPid());
    settle();
    desktop.activate(finder);

    const auto transitions = std::count_if(
        logger->entries.begin() + static_cast<std::ptrdiff_t>(logLines), logger->entries.end(),
        [](const auto& e) { return e.message.starts_with("handleStateTransition ENTER"); });
    EXPECT_EQ(transitions, 0);
    EXPECT_NE(overlay("Notes"), nullptr);
    EXPECT_EQ(engine->lastNonProtectedApp()->bundleId, kEditor);
}

TEST_F(LockEngineTest, SystemAgentsAndFinderAreNeverRememberedAsThePreviousApp) {
    const SystemAgents& agents = desktop.systemAgents;
    std::vector<std::string> neverRemembered(agents.prompts.begin(), agents.prompts.end());
    neverRemembered.insert(neverRemembered.end(), agents.shell.begin(), agents.shell.end());
    neverRemembered.push_back(agents.fileManager);
    for (const std::string& bundleId : neverRemembered) {
        desktop.activate(
            desktop.launchApp(bundleId, bundleId, std::nullopt, ActivationPolicy::accessory));
        EXPECT_EQ(engine->lastNonProtectedApp()->bundleId, kEditor) << bundleId;
    }
}

} // namespace
} // namespace velmora::testing
