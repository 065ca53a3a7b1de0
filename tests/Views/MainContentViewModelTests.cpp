#include "Views/MainContentViewModel.hpp"
#include "Views/ViewModelFixture.hpp"

namespace velmora::testing {
namespace {

using Content = MainContentViewModel::Content;

class MainContentViewModelTest : public ViewModelTest {
protected:
    std::shared_ptr<MainContentViewModel> makeModel() {
        return MainContentViewModel::create(mainContentCollaborators());
    }

    void setOnboardingCompleted(bool completed) {
        desktop.userDefaults->setBool(MainContentViewModel::userCompletedOnboardingKey, completed);
    }
};

TEST_F(MainContentViewModelTest, SetupIsCompleteWithBothPermissionsOrWithAccessibilityAndContinue) {
    struct Case {
        bool accessibility;
        std::optional<bool> inputMonitoring;
        bool completed;
        Content content;
    };
    const Case cases[] = {
        {false, std::nullopt, false, Content::onboarding},
        {false, true, true, Content::onboarding},
        {true, std::nullopt, false, Content::onboarding},
        {true, false, false, Content::onboarding},
        {true, std::nullopt, true, Content::setupComplete},
        {true, true, false, Content::setupComplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.accessibility << c.inputMonitoring.has_value()
                                          << c.inputMonitoring.value_or(false) << c.completed);
        setPermissions(c.accessibility, c.inputMonitoring);
        setOnboardingCompleted(c.completed);
        const auto model = makeModel();
        EXPECT_EQ(model->content.get(), c.content);
        EXPECT_EQ(model->onboarding.get() != nullptr, c.content == Content::onboarding);
    }
}

TEST_F(MainContentViewModelTest, FirstStartOnboardsThenConfirmsAndClosesAfterTwoSeconds) {
    setPermissions(false, std::nullopt);
    const int window = desktop.hostApplication->openWindow(AppWindowKind::standard);
    desktop.hostApplication->makeKeyAndOrderFront(window);
    const auto activations = desktop.hostApplication->activateIgnoringOtherAppsCount();
    const auto model = makeModel();
    model->appeared();
    EXPECT_EQ(desktop.hostApplication->activateIgnoringOtherAppsCount(), activations + 1);
    desktop.loop->advance(Seconds{0.04});
    EXPECT_EQ(raises, 0);
    desktop.loop->advance(Seconds{0.01});
    EXPECT_EQ(raises, 1);

    const auto onboarding = model->onboarding.get();
    ASSERT_NE(onboarding, nullptr);
    onboarding->continueTapped();
    EXPECT_EQ(model->content.get(), Content::onboarding);

    changeAccessibility(true);
    EXPECT_EQ(model->content.get(), Content::onboarding);
    onboarding->toggleDiagnostics();
    onboarding->continueTapped();
    EXPECT_EQ(model->content.get(), Content::setupComplete);
    EXPECT_EQ(model->onboarding.get(), nullptr);
    EXPECT_EQ(desktop.userDefaults->boolean(MainContentViewModel::userCompletedOnboardingKey),
              true);

    // Withdrawing Accessibility brings a fresh onboarding back, whatever was completed.
    changeAccessibility(false);
    EXPECT_EQ(model->content.get(), Content::onboarding);
    ASSERT_NE(model->onboarding.get(), nullptr);
    EXPECT_FALSE(model->onboarding.get()->showDiagnostics.get());
}

TEST_F(MainContentViewModelTest, LaterStartsConfirmAndCloseWhenShown) {
    setOnboardingCompleted(true);
    const int window = desktop.hostApplication->openWindow(AppWindowKind::standard);
    desktop.hostApplication->makeKeyAndOrderFront(window);
    const auto model = makeModel();
    desktop.loop->advance(Seconds{5});
    EXPECT_TRUE(desktop.hostApplication->window(window)) << "not shown yet";

    model->appeared();
    desktop.loop->advance(Seconds{2});
    EXPECT_FALSE(desktop.hostApplication->window(window));
}

} // namespace
} // namespace velmora::testing
