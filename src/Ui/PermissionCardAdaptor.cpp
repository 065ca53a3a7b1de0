#include "Ui/PermissionCardAdaptor.hpp"

#include "Ui/QtNamedColor.hpp"
#include "Ui/QtText.hpp"

namespace velmora {

PermissionCardAdaptor::PermissionCardAdaptor(std::shared_ptr<PermissionsViewModel> model, Card card,
                                             QObject* parent)
    : QObject(parent), model_(std::move(model)), card_(card) {
    subscription_ =
        ((*model_).*card_).subscribeToChanges([this](const PermissionCard&) { Q_EMIT changed(); });
}

QString PermissionCardAdaptor::title() const {
    return toQString(card().title());
}
QString PermissionCardAdaptor::description() const {
    return toQString(card().description());
}
QString PermissionCardAdaptor::iconSymbol() const {
    return toQString(card().iconSymbol());
}
QString PermissionCardAdaptor::badge() const {
    return toQString(card().badge().value_or(""));
}
QColor PermissionCardAdaptor::statusColor() const {
    return toQColor(card().statusColor());
}
QString PermissionCardAdaptor::statusSymbol() const {
    return toQString(card().statusSymbol());
}
QString PermissionCardAdaptor::statusText() const {
    return toQString(card().statusText());
}
QStringList PermissionCardAdaptor::steps() const {
    QStringList steps;
    for (const std::string_view step : card().steps()) {
        steps.append(toQString(step));
    }
    return steps;
}
QString PermissionCardAdaptor::openSettingsTitle() {
    return toQString(PermissionCard::openSettingsTitle);
}
QString PermissionCardAdaptor::openSettingsSymbol() {
    return toQString(PermissionCard::openSettingsSymbol);
}
QString PermissionCardAdaptor::recheckTitle() {
    return toQString(PermissionCard::recheckTitle);
}
QString PermissionCardAdaptor::recheckSymbol() {
    return toQString(PermissionCard::recheckSymbol);
}
QString PermissionCardAdaptor::quitTitle() {
    return toQString(PermissionCard::quitTitle);
}
QString PermissionCardAdaptor::quitSymbol() {
    return toQString(PermissionCard::quitSymbol);
}

void PermissionCardAdaptor::openSystemSettings() {
    model_->openSystemSettings(card().permission);
}
void PermissionCardAdaptor::recheck() {
    model_->recheckPermissions();
}
void PermissionCardAdaptor::quit() {
    model_->quitApp();
}

} // namespace velmora
