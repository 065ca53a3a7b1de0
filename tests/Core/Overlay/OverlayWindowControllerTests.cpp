#include "Core/Overlay/OverlayContentView.hpp"
#include "Core/Overlay/OverlayWindowController.hpp"
#include "Platform/Sim/SimAuthenticator.hpp"
#include "Platform/Sim/SimOverlayWindows.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::RecordingLogger;

const Screen kBuiltIn{"Built-in Retina Display", {0, 0, 1512, 982}};

struct OverlayWindowControllerTest : ::testing::Test {
    std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();
    std::shared_ptr<SimOverlayWindowFactory> windows = std::make_shared<SimOverlayWindowFactory>();
    std::shared_ptr<SimAuthenticator> owner = std::make_shared<SimAuthenticator>();
    OverlayWindowController controller{logger, windows, makeContextFactory(owner)};
    std::vector<std::string> taps;

    void show(const std::string& bundleId, Rect frame, const std::string& appName,
              bool minimize = true) {
        controller.show(
            bundleId, frame, kBuiltIn, appName,
            [this, appName] { taps.push_back("unlock " + appName); },
            minimize ? OverlayWindowController::Action(
                           [this, appName] { taps.push_back("minimize " + appName); })
                     : nullptr);
    }

    SimOverlayWindow& window(std::size_t index) { return *windows->windows().at(index); }
};

TEST_F(OverlayWindowControllerTest, ASecondShowMovesTheSameWindowAndRebuildsItsCard) {
    show("com.apple.Notes", {100, 100, 800, 600}, "Notes");
    show("com.apple.Notes", {200, 150, 1024, 768}, "Notes — Work", false);

    ASSERT_EQ(windows->windowCount(), 1u);
    SimOverlayWindow& w = window(0);
    EXPECT_EQ(w.frame(), (Rect{200, 150, 1024, 768}));
    EXPECT_EQ(w.content()->appName(), "Notes — Work");

    // The buttons run the latest callbacks.
    EXPECT_TRUE(w.pressUnlock());
    EXPECT_FALSE(w.pressMinimize());
    EXPECT_EQ(taps, std::vector<std::string>{"unlock Notes — Work"});
}

TEST_F(OverlayWindowControllerTest, ACardsButtonMayRebuildTheOverlay) {
    controller.show("com.apple.Notes", {0, 0, 800, 600}, kBuiltIn, "Notes", [this] {
        // What an engine might do from the button: show again, replacing this very card.
        show("com.apple.Notes", {0, 0, 800, 600}, "Notes again");
        controller.hide("com.apple.Notes");
    });

    SimOverlayWindow& w = window(0);
    EXPECT_TRUE(w.pressUnlock());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.content()->appName(), "Notes again");
    EXPECT_TRUE(taps.empty());
}

} // namespace
} // namespace velmora
