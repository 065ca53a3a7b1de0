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
    struct Case {
        bool accessibility;
        std::optional<bool> inputMonitoring;
        NamedColor accessibilityColor;
        std::string_view accessibilityText;
        NamedColor inputMonitoringColor;
        std::string_view inputMonitoringText;
        PermissionsViewModel::StatusRow statusRow;
        ContinueOption continueOption;
        std::optional<std::string_view> continueTitle;
        std::optional<std::string_view> continueNote;
    };
    const std::string_view grant = "Grant Accessibility to continue";
    const std::string_view without = "Continue Without Input Monitoring";
    const std::string_view degraded = "Idle-based auto-relock will be degraded";
    const PermissionsViewModel::StatusRow missing{
        "exclamationmark.triangle.fill", "Accessibility permission is required", NamedColor::red};
    const PermissionsViewModel::StatusRow required{
        "checkmark.circle.fill", "Required permissions granted", NamedColor::blue};
    const PermissionsViewModel::StatusRow all{"checkmark.circle.fill", "All permissions granted!",
                                              NamedColor::green};
    const Case cases[] = {
        {false, std::nullopt, NamedColor::red, "Required", NamedColor::gray, "Checking", missing,
         ContinueOption::unavailable, std::nullopt, grant},
        {false, true, NamedColor::red, "Required", NamedColor::green, "Enabled", missing,
         ContinueOption::unavailable, std::nullopt, grant},
        {true, std::nullopt, NamedColor::green, "Enabled", NamedColor::gray, "Checking", required,
         ContinueOption::continueWithoutInputMonitoring, without, degraded},
        {true, false, NamedColor::green, "Enabled", NamedColor::orange, "Recommended", required,
         ContinueOption::continueWithoutInputMonitoring, without, degraded},
        {true, true, NamedColor::green, "Enabled", NamedColor::green, "Enabled", all,
         ContinueOption::continueButton, "Continue", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.accessibility << " " << c.inputMonitoring.has_value()
                                          << c.inputMonitoring.value_or(false));
        setPermissions(c.accessibility, c.inputMonitoring);
        const auto model = makeModel();
        const PermissionCard& accessibility = model->accessibilityCard.get();
        const PermissionCard& inputMonitoring = model->inputMonitoringCard.get();
        EXPECT_EQ(accessibility.statusColor(), c.accessibilityColor);
        EXPECT_EQ(accessibility.statusText(), c.accessibilityText);
        EXPECT_EQ(accessibility.showsInstructions(), !c.accessibility);
        EXPECT_TRUE(accessibility.offersQuit);
        EXPECT_EQ(inputMonitoring.statusColor(), c.inputMonitoringColor);
        EXPECT_EQ(inputMonitoring.statusText(), c.inputMonitoringText);
        EXPECT_EQ(inputMonitoring.showsInstructions(), c.inputMonitoring != true);
        EXPECT_FALSE(inputMonitoring.offersQuit);
        EXPECT_EQ(model->showsInputMonitoringInfo.get(), c.inputMonitoring != true);
        EXPECT_EQ(model->statusRow.get(), c.statusRow);
        EXPECT_EQ(model->continueOption.get(), c.continueOption);
        EXPECT_EQ(model->continueButtonTitle(), c.continueTitle);
        EXPECT_EQ(model->continueNote(), c.continueNote);

        model->continueTapped();
        EXPECT_EQ(continued, c.continueOption == ContinueOption::unavailable ? 0 : 1);
        continued = 0;
    }
}

TEST_F(PermissionsViewModelTest, GrantingInTheSystemSettingsShowsOnTheNextPoll) {
    setPermissions(false, std::nullopt);
    const auto model = makeModel();
    model->openSystemSettings(PermissionType::accessibility);
    EXPECT_EQ(desktop.urlOpener->requested().back(), PermissionsManager::accessibilitySettingsUrl);

    desktop.accessibility->setTrusted(true);
    ::testing::internal::CaptureStdout();
    desktop.loop->advance(Seconds{1});
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(model->accessibilityCard.get().status, PermissionStatus::granted);
    EXPECT_EQ(model->continueOption.get(), ContinueOption::continueWithoutInputMonitoring);

    model->quitApp();
    EXPECT_EQ(desktop.hostApplication->terminationRequestCount(), 1u);
}

TEST_F(PermissionsViewModelTest, DiagnosticsPanelAndCopy) {
    const auto model = makeModel();
    EXPECT_EQ(model->diagnosticsChevron(), "chevron.down");
    model->toggleDiagnostics();
    EXPECT_TRUE(model->showDiagnostics.get());
    EXPECT_EQ(model->diagnosticsChevron(), "chevron.up");

    using Row = PermissionsViewModel::DiagnosticRow;
    EXPECT_EQ(
        model->diagnosticRows(),
        (std::vector<Row>{
            {"Bundle ID", "com.tovren.velmora", NamedColor::primary},
            {"Bundle Path", "/Applications/Velmora.app", NamedColor::primary},
            {"Executable", "/Applications/Velmora.app/Contents/MacOS/Velmora", NamedColor::primary},
            {"Accessibility", "AUTHORIZED", NamedColor::green},
            {"Input Monitoring", "NOT AUTHORIZED", NamedColor::orange},
        }));
    changeAccessibility(false);
    EXPECT_EQ(model->diagnosticRows()[3],
              (Row{"Accessibility", "NOT AUTHORIZED", NamedColor::red}));

    EXPECT_EQ(model->copyButtonTitle(), "Copy Diagnostics");
    model->copyDiagnostics();
    ASSERT_TRUE(desktop.pasteboard->text());
    EXPECT_EQ(*desktop.pasteboard->text(), permissions->getDiagnostics().formattedText());
    EXPECT_TRUE(desktop.pasteboard->text()->starts_with("=== Velmora Diagnostics ===\n"));
    EXPECT_EQ(model->copyButtonTitle(), "Copied!");
    EXPECT_EQ(model->copyButtonSymbol(), "checkmark");

    // A second copy a second later does not extend the first one's two seconds.
    desktop.loop->advance(Seconds{1});
    model->copyDiagnostics();
    desktop.loop->advance(Seconds{0.99});
    EXPECT_TRUE(model->diagnosticsCopied.get());
    desktop.loop->advance(Seconds{0.01});
    EXPECT_FALSE(model->diagnosticsCopied.get());
    EXPECT_EQ(model->copyButtonTitle(), "Copy Diagnostics");
}

} // namespace
} // namespace velmora::testing
