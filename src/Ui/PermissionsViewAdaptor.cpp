#include "Ui/PermissionsViewAdaptor.hpp"

#include "Ui/QtNamedColor.hpp"
#include "Ui/QtText.hpp"

#include <QVariantMap>

namespace velmora {

namespace {

using Model = PermissionsViewModel;

} // namespace

PermissionsViewAdaptor::PermissionsViewAdaptor(std::shared_ptr<PermissionsViewModel> model,
                                               QObject* parent)
    : QObject(parent), model_(std::move(model)),
      accessibilityCard_(new PermissionCardAdaptor(model_, &Model::accessibilityCard, this)),
      inputMonitoringCard_(new PermissionCardAdaptor(model_, &Model::inputMonitoringCard, this)) {
    const auto changed = [this](const auto&) { Q_EMIT this->changed(); };
    subscriptions_.push_back(model_->showsInputMonitoringInfo.subscribeToChanges(changed));
    subscriptions_.push_back(model_->statusRow.subscribeToChanges(changed));
    subscriptions_.push_back(model_->continueOption.subscribeToChanges(changed));
    subscriptions_.push_back(model_->showDiagnostics.subscribeToChanges(changed));
    subscriptions_.push_back(model_->diagnosticsCopied.subscribeToChanges(changed));
    // The diagnostics panel shows what the permissions are now.
    subscriptions_.push_back(model_->accessibilityCard.subscribeToChanges(changed));
    subscriptions_.push_back(model_->inputMonitoringCard.subscribeToChanges(changed));
}

bool PermissionsViewAdaptor::showsInputMonitoringInfo() const {
    return model_->showsInputMonitoringInfo.get();
}
QString PermissionsViewAdaptor::statusSymbol() const {
    return toQString(model_->statusRow.get().symbol);
}
QString PermissionsViewAdaptor::statusText() const {
    return toQString(model_->statusRow.get().text);
}
QColor PermissionsViewAdaptor::statusColor() const {
    return toQColor(model_->statusRow.get().color);
}
PermissionsViewAdaptor::ContinueOption PermissionsViewAdaptor::continueOption() const {
    switch (model_->continueOption.get()) {
    case Model::ContinueOption::unavailable:
        return ContinueOption::Unavailable;
    case Model::ContinueOption::continueButton:
        return ContinueOption::ContinueButton;
    case Model::ContinueOption::continueWithoutInputMonitoring:
        break;
    }
    return ContinueOption::ContinueWithoutInputMonitoring;
}
QString PermissionsViewAdaptor::continueButtonTitle() const {
    return toQString(model_->continueButtonTitle().value_or(""));
}
QString PermissionsViewAdaptor::continueNote() const {
    return toQString(model_->continueNote().value_or(""));
}
bool PermissionsViewAdaptor::showDiagnostics() const {
    return model_->showDiagnostics.get();
}
QString PermissionsViewAdaptor::diagnosticsChevron() const {
    return toQString(model_->diagnosticsChevron());
}
QVariantList PermissionsViewAdaptor::diagnosticRows() const {
    QVariantList rows;
    for (const Model::DiagnosticRow& row : model_->diagnosticRows()) {
        rows.append(QVariantMap{
            {QStringLiteral("label"), toQString(row.label)},
            {QStringLiteral("value"), toQString(row.value)},
            {QStringLiteral("valueColor"), toQColor(row.valueColor)},
        });
    }
    return rows;
}
QString PermissionsViewAdaptor::copyButtonTitle() const {
    return toQString(model_->copyButtonTitle());
}
QString PermissionsViewAdaptor::copyButtonSymbol() const {
    return toQString(model_->copyButtonSymbol());
}
QString PermissionsViewAdaptor::headerSymbol() {
    return toQString(Model::headerSymbol);
}
QString PermissionsViewAdaptor::title() {
    return toQString(Model::title);
}
QString PermissionsViewAdaptor::subtitle() {
    return toQString(Model::subtitle);
}
QString PermissionsViewAdaptor::requiredSection() {
    return toQString(Model::requiredSection);
}
QString PermissionsViewAdaptor::requiredSectionSymbol() {
    return toQString(Model::requiredSectionSymbol);
}
QString PermissionsViewAdaptor::recommendedSection() {
    return toQString(Model::recommendedSection);
}
QString PermissionsViewAdaptor::recommendedSectionSymbol() {
    return toQString(Model::recommendedSectionSymbol);
}
QString PermissionsViewAdaptor::inputMonitoringInfo() {
    return toQString(Model::inputMonitoringInfo);
}
QString PermissionsViewAdaptor::inputMonitoringInfoSymbol() {
    return toQString(Model::inputMonitoringInfoSymbol);
}
QString PermissionsViewAdaptor::diagnosticsTitle() {
    return toQString(Model::diagnosticsTitle);
}
QString PermissionsViewAdaptor::diagnosticsSymbol() {
    return toQString(Model::diagnosticsSymbol);
}
QString PermissionsViewAdaptor::diagnosticsHint() {
    return toQString(Model::diagnosticsHint);
}
QString PermissionsViewAdaptor::recheckAllTitle() {
    return toQString(Model::recheckAllTitle);
}
QString PermissionsViewAdaptor::recheckAllSymbol() {
    return toQString(Model::recheckAllSymbol);
}

void PermissionsViewAdaptor::toggleDiagnostics() {
    model_->toggleDiagnostics();
}
void PermissionsViewAdaptor::copyDiagnostics() {
    model_->copyDiagnostics();
}
void PermissionsViewAdaptor::continueTapped() {
    model_->continueTapped();
}
void PermissionsViewAdaptor::recheckPermissions() {
    model_->recheckPermissions();
}

} // namespace velmora
