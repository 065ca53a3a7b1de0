#include "Platform/Linux/Wayland/KWinProtocol.hpp"

#include <gtest/gtest.h>

namespace velmora::kwin {
namespace {

QVariantMap windowFact(QVariantMap changes = {}) {
    QVariantMap fact{{"number", 7},
                     {"pid", 4211},
                     {"desktopFile", "org.kde.kate"},
                     {"resourceClass", "kate"},
                     {"x", 10.0},
                     {"y", 20},
                     {"width", 640},
                     {"height", 480.5},
                     {"stacking", 3},
                     {"layer", 0},
                     {"normal", true},
                     {"visible", true}};
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isValid()) {
            fact.insert(it.key(), it.value());
        } else {
            fact.remove(it.key());
        }
    }
    return fact;
}

QVariantMap report(QVariantList windows, QVariant active = -1) {
    return {{"windows", windows}, {"closed", QVariantList{3, "9", 0, -2}}, {"active", active}};
}

TEST(KWinProtocol, ReadsWindowsAndTheActiveOneWhateverNumberTypeJavaScriptChose) {
    const auto facts =
        parseFacts(report({windowFact(), windowFact({{"number", "8"}, {"pid", 4.0}})}));
    ASSERT_TRUE(facts);
    ASSERT_EQ(facts->windows.size(), 2u);
    const Window& window = facts->windows[0];
    EXPECT_EQ(window.number, 7u);
    EXPECT_EQ(window.pid, 4211);
    EXPECT_EQ(window.desktopFile, "org.kde.kate");
    EXPECT_EQ(window.frame, (Rect{10, 20, 640, 480.5}));
    EXPECT_TRUE(window.normal && window.visible && !window.minimized && !window.shield);
    EXPECT_EQ(facts->windows[1].number, 8u);
    // Numbers that name no window are left out.
    EXPECT_EQ(facts->closed, (std::vector<WindowNumber>{3, 9}));
    EXPECT_FALSE(facts->active) << "-1: the active window did not change";
    EXPECT_EQ(parseFacts(report({}, 0))->active,
              std::optional<std::optional<WindowNumber>>(std::optional<WindowNumber>{}));
    EXPECT_EQ(parseFacts(report({}, 12))->active, std::optional<std::optional<WindowNumber>>(12));
}

TEST(KWinProtocol, MalformedWindowsAndReportsAreLeftOut) {
    const QVariantMap broken[] = {
        windowFact({{"number", QVariant()}}),
        windowFact({{"number", 0}}),
        windowFact({{"pid", QVariant()}}),
        windowFact({{"height", QVariant()}}),
    };
    for (const QVariantMap& window : broken) {
        const auto facts = parseFacts(report({window}));
        ASSERT_TRUE(facts);
        EXPECT_TRUE(facts->windows.empty()) << QVariant(window).toString().toStdString();
    }
    EXPECT_FALSE(parseFacts({}));
    EXPECT_FALSE(parseFacts({{"windows", QVariantList{}}}));
}

} // namespace
} // namespace velmora::kwin
