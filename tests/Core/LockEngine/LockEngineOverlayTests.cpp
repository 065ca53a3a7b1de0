#include "LockEngineFixture.hpp"

#include <limits>

namespace velmora::testing {
namespace {

// The main-screen fallback itself is walked through in a scenario; here, windows that are no
// place for a card.
TEST_F(LockEngineTest, WindowsBelowTheNormalLayerWithoutAreaOrOffEveryCoordinateAreNoPlace) {
    const ProcessId mail = protect(kMail, "Mail", std::nullopt);
    desktop.windowServer->addWindow(mail, 0, 0, 300, 200, -20);
    desktop.windowServer->addWindow(mail, 0, 0, 0, 200);
    desktop.windowServer->addWindow(mail, std::numeric_limits<double>::infinity(), 0, 300, 200);
    desktop.activate(mail);
    desktop.loop->advance(Seconds{2.3});
    ASSERT_NE(overlay("Mail"), nullptr);
    EXPECT_EQ(overlay("Mail")->frame(), (Rect{0, 0, 1512, 982}));
}

} // namespace
} // namespace velmora::testing
