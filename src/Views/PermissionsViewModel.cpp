#include "Views/PermissionsViewModel.hpp"

#include "Support/Lifetime.hpp"

namespace velmora {

std::shared_ptr<PermissionsViewModel>
PermissionsViewModel::create(Collaborators collaborators, std::function<void()> onContinue) {
    return std::make_shared<PermissionsViewModel>(Passkey{}, std::move(collaborators),
                                                  std::move(onContinue));
}

PermissionsViewModel::PermissionsViewModel(Passkey, Collaborators collaborators,
                                           std::function<void()> onContinue)
    : collaborators_(std::move(collaborators)), onContinue_(std::move(onContinue)) {
    auto& manager = *collaborators_.permissionsManager;
    const auto update = [this](const auto&) { this->update(); };
    subscriptions_.push_back(manager.accessibilityStatus().subscribe(update));
    subscriptions_.push_back(manager.inputMonitoringStatus().subscribeToChanges(update));
    subscriptions_.push_back(manager.requiredPermissionsGranted().subscribeToChanges(update));
    subscriptions_.push_back(manager.allPermissionsGranted().subscribeToChanges(update));
}

void PermissionsViewModel::update() {
    auto& manager = *collaborators_.permissionsManager;
    const PermissionStatus inputMonitoring = manager.inputMonitoringStatus().get();
    const bool required = manager.requiredPermissionsGranted().get();
    const bool all = manager.allPermissionsGranted().get();

    accessibilityCard.setIfChanged(
        {PermissionType::accessibility, manager.accessibilityStatus().get(), true});
    inputMonitoringCard.setIfChanged({PermissionType::inputMonitoring, inputMonitoring, false});
    showsInputMonitoringInfo.setIfChanged(inputMonitoring != PermissionStatus::granted);
    if (all) {
        statusRow.setIfChanged(
            {"checkmark.circle.fill", "All permissions granted!", NamedColor::green});
    } else if (required) {
        statusRow.setIfChanged(
            {"checkmark.circle.fill", "Required permissions granted", NamedColor::blue});
    } else {
        statusRow.setIfChanged({"exclamationmark.triangle.fill",
                                "Accessibility permission is required", NamedColor::red});
    }
    continueOption.setIfChanged(!required ? ContinueOption::unavailable
                                : all     ? ContinueOption::continueButton
                                          : ContinueOption::continueWithoutInputMonitoring);
}

std::vector<PermissionsViewModel::DiagnosticRow> PermissionsViewModel::diagnosticRows() const {
    const auto diagnostics = collaborators_.permissionsManager->getDiagnostics();
    const auto authorization = [](bool authorized, NamedColor deniedColor) {
        return authorized ? std::pair<std::string, NamedColor>{"AUTHORIZED", NamedColor::green}
                          : std::pair<std::string, NamedColor>{"NOT AUTHORIZED", deniedColor};
    };
    const auto [accessibility, accessibilityColor] =
        authorization(diagnostics.accessibilityAuthorized, NamedColor::red);
    const auto [inputMonitoring, inputMonitoringColor] =
        authorization(diagnostics.inputMonitoringAuthorized, NamedColor::orange);
    return {
        {"Bundle ID", diagnostics.bundleIdentifier, NamedColor::primary},
        {"Bundle Path", diagnostics.bundlePath, NamedColor::primary},
        {"Executable", diagnostics.executablePath, NamedColor::primary},
        {"Accessibility", accessibility, accessibilityColor},
        {"Input Monitoring", inputMonitoring, inputMonitoringColor},
    };
}

std::optional<std::string_view> PermissionsViewModel::continueButtonTitle() const {
    switch (continueOption.get()) {
    case ContinueOption::unavailable:
        return std::nullopt;
    case ContinueOption::continueButton:
        return "Continue";
    case ContinueOption::continueWithoutInputMonitoring:
        break;
    }
    return "Continue Without Input Monitoring";
}

std::optional<std::string_view> PermissionsViewModel::continueNote() const {
    switch (continueOption.get()) {
    case ContinueOption::unavailable:
        return "Grant Accessibility to continue";
    case ContinueOption::continueButton:
        return std::nullopt;
    case ContinueOption::continueWithoutInputMonitoring:
        break;
    }
    return "Idle-based auto-relock will be degraded";
}

std::string_view PermissionsViewModel::diagnosticsChevron() const {
    return showDiagnostics.get() ? "chevron.up" : "chevron.down";
}

std::string_view PermissionsViewModel::copyButtonTitle() const {
    return diagnosticsCopied.get() ? "Copied!" : "Copy Diagnostics";
}

std::string_view PermissionsViewModel::copyButtonSymbol() const {
    return diagnosticsCopied.get() ? "checkmark" : "doc.on.doc";
}

void PermissionsViewModel::toggleDiagnostics() {
    showDiagnostics.set(!showDiagnostics.get());
}

void PermissionsViewModel::copyDiagnostics() {
    const auto diagnostics = collaborators_.permissionsManager->getDiagnostics();
    collaborators_.pasteboard->clearContents();
    collaborators_.pasteboard->setString(diagnostics.formattedText());
    diagnosticsCopied.setIfChanged(true);
    // Each copy schedules its own reset, so the first one ends the "Copied!" state.
    collaborators_.runLoop->after(copiedDuration,
                                  ifAlive(weak_from_this(), [](PermissionsViewModel& self) {
                                      self.diagnosticsCopied.setIfChanged(false);
                                  }));
}

void PermissionsViewModel::continueTapped() {
    if (continueOption.get() != ContinueOption::unavailable && onContinue_) {
        onContinue_();
    }
}

void PermissionsViewModel::recheckPermissions() {
    collaborators_.permissionsManager->checkPermissions();
}

void PermissionsViewModel::openSystemSettings(PermissionType permission) {
    collaborators_.permissionsManager->openSystemSettings(permission);
}

void PermissionsViewModel::quitApp() {
    collaborators_.application->terminate();
}

} // namespace velmora
