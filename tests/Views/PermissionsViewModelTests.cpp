#include "Views/PermissionsViewModel.hpp"
#include "Views/ViewModelFixture.hpp"

namespace velmora::testing {
namespace {

using ContinueOption = PermissionsViewModel::ContinueOption;

class PermissionsViewModelTest : public ViewModelTest {
protected:
    std::shared_ptr<PermissionsViewModel> makeModel() {
        return PermissionsViewModel::create({.permissionsManager = permissions,
                                             .pasteboard = desktop.pasteboard,
                                             .application = desktop.hostApplication,
                                             .runLoop = desktop.loop},
                                            [this] { ++continued; });
    }

    int continued = 0;
};

TEST_F(PermissionsViewModelTest, CardsStatusRowAndContinueFollowThePermissions) {
    // The texts of the status row and of Continue are checked where they are drawn; following
    // a grant, through the onboarding's Continue in MainContentViewModelTests.
    struct Case {
        bool accessibility;
        std::optional<bool> inputMonitoring;
        std::string_view accessibilityText;
        std::string_view inputMonitoringText;
        ContinueOption continueOption;
    };
    const Case cases[] = {
        {false, std::nullopt, "Required", "Checking", ContinueOption::unavailable},
        {false, true, "Required", "Enabled", ContinueOption::unavailable},
        {true, std::nullopt, "Enabled", "Checking", ContinueOption::continueWithoutInputMonitoring},
        {true, false, "Enabled", "Recommended", ContinueOption::continueWithoutInputMonitoring},
        {true, true, "Enabled", "Enabled", ContinueOption::continueButton},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.accessibility << " " << c.inputMonitoring.has_value()
                                          << c.inputMonitoring.value_or(false));
        setPermissions(c.accessibility, c.inputMonitoring);
        const auto model = makeModel();
        const PermissionCard& accessibility = model->accessibilityCard.get();
        const PermissionCard& inputMonitoring = model->inputMonitoringCard.get();
        EXPECT_EQ(accessibility.statusText(), c.accessibilityText);
        EXPECT_EQ(accessibility.showsInstructions(), !c.accessibility);
        EXPECT_EQ(inputMonitoring.statusText(), c.inputMonitoringText);
        EXPECT_EQ(inputMonitoring.showsInstructions(), c.inputMonitoring != true);
        EXPECT_EQ(model->showsInputMonitoringInfo.get(), c.inputMonitoring != true);
        EXPECT_EQ(model->continueOption.get(), c.continueOption);

        model->continueTapped();
        EXPECT_EQ(continued, c.continueOption == ContinueOption::unavailable ? 0 : 1);
        continued = 0;
    }
}

} // namespace
} // namespace velmora::testing
