#include "Ui/PanelPlacement.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(PanelPlacement, DropsFromTheIconAndStaysOnTheScreen) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize panel(350, 400);
    const struct {
        const char* where;
        QRect icon;
        QRect screen;
        QPoint expected;
    } cases[] = {
        {"top bar: under the icon, centred on it", {1000, 0, 24, 24}, screen, {837, 24}},
        {"bottom bar: above the icon", {1000, 1056, 24, 24}, screen, {837, 656}},
        {"near the right edge: pulled in", {1890, 0, 24, 24}, screen, {1570, 24}},
        {"under a bar the work area leaves out", {1000, 0, 24, 24}, {0, 30, 1920, 1050}, {837, 30}},
        {"second screen to the right", {3800, 0, 24, 24}, {1920, 0, 1920, 1080}, {3490, 24}},
        {"tray did not say: centred", {}, screen, {785, 340}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(panelPosition(c.icon, c.screen, panel), c.expected) << c.where;
    }
}

TEST(PanelPlacement, APanelTallerThanTheScreenStartsAtItsTop) {
    EXPECT_EQ(panelPosition({100, 700, 24, 24}, {0, 0, 800, 600}, {350, 900}), QPoint(0, 0));
}

} // namespace
} // namespace velmora
