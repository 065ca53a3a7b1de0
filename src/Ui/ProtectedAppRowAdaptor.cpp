#include "Ui/ProtectedAppRowAdaptor.hpp"

#include "Ui/ApplicationIconImageProvider.hpp"
#include "Views/ProtectedAppRowStyle.hpp"

namespace velmora {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

ProtectedAppRowViewModel::BadgeContent content(ProtectedAppRowViewModel::Badge badge) {
    return ProtectedAppRowViewModel::badgeContent(badge);
}

} // namespace

ProtectedAppRowAdaptor::ProtectedAppRowAdaptor(std::shared_ptr<ProtectedAppRowViewModel> model,
                                               QObject* parent)
    : QObject(parent), model_(std::move(model)) {
    const auto notify = [this](void (ProtectedAppRowAdaptor::*changed)()) {
        return [this, changed](const auto&) { Q_EMIT(this->*changed)(); };
    };
    subscriptions_.push_back(
        model_->app.subscribeToChanges(notify(&ProtectedAppRowAdaptor::appChanged)));
    subscriptions_.push_back(
        model_->isExpanded.subscribeToChanges(notify(&ProtectedAppRowAdaptor::isExpandedChanged)));
    subscriptions_.push_back(
        model_->cachedIcon.subscribeToChanges(notify(&ProtectedAppRowAdaptor::iconSourceChanged)));
    subscriptions_.push_back(model_->isAuthenticatingRemoval.subscribeToChanges(
        notify(&ProtectedAppRowAdaptor::isAuthenticatingRemovalChanged)));
    subscriptions_.push_back(
        model_->badge.subscribeToChanges(notify(&ProtectedAppRowAdaptor::badgeChanged)));
    subscriptions_.push_back(model_->showsLockNow.subscribeToChanges(
        notify(&ProtectedAppRowAdaptor::showsLockNowChanged)));
}

QString ProtectedAppRowAdaptor::displayName() const {
    return QString::fromStdString(model_->app.get().displayName);
}

QString ProtectedAppRowAdaptor::summaryTimeout() const {
    return QString::fromStdString(model_->summaryTimeout().value_or(std::string()));
}

bool ProtectedAppRowAdaptor::autoLockEnabled() const {
    return model_->app.get().autoLockEnabled;
}

int ProtectedAppRowAdaptor::timeoutIndex() const {
    const auto& options = ProtectedAppRowViewModel::timeoutOptions;
    for (std::size_t index = 0; index < options.size(); ++index) {
        if (options[index].value == model_->app.get().idleTimeoutMinutes) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

QStringList ProtectedAppRowAdaptor::timeoutLabels() {
    QStringList labels;
    for (const auto& option : ProtectedAppRowViewModel::timeoutOptions) {
        labels.append(text(option.label));
    }
    return labels;
}

bool ProtectedAppRowAdaptor::isExpanded() const {
    return model_->isExpanded.get();
}

QString ProtectedAppRowAdaptor::iconSource() const {
    const auto& icon = model_->cachedIcon.get();
    return icon ? ApplicationIconImageProvider::source(QString::fromStdString(*icon),
                                                       ProtectedAppRowStyle::iconCornerRadius /
                                                           ProtectedAppRowStyle::iconSize)
                : QString();
}

bool ProtectedAppRowAdaptor::isAuthenticatingRemoval() const {
    return model_->isAuthenticatingRemoval.get();
}

QString ProtectedAppRowAdaptor::badge() const {
    switch (model_->badge.get()) {
    case ProtectedAppRowViewModel::Badge::inactive:
        return QStringLiteral("inactive");
    case ProtectedAppRowViewModel::Badge::unlocked:
        return QStringLiteral("unlocked");
    case ProtectedAppRowViewModel::Badge::locked:
        break;
    }
    return QStringLiteral("locked");
}

QString ProtectedAppRowAdaptor::badgeText() const {
    return text(content(model_->badge.get()).text);
}

QString ProtectedAppRowAdaptor::badgeSymbol() const {
    return text(content(model_->badge.get()).symbol);
}

bool ProtectedAppRowAdaptor::badgeIsButton() const {
    return content(model_->badge.get()).isButton;
}

QString ProtectedAppRowAdaptor::badgeHelp() const {
    return text(content(model_->badge.get()).help);
}

bool ProtectedAppRowAdaptor::showsLockNow() const {
    return model_->showsLockNow.get();
}

void ProtectedAppRowAdaptor::loadIcon() {
    model_->loadIcon();
}

void ProtectedAppRowAdaptor::toggleExpanded() {
    model_->toggleExpanded();
}

void ProtectedAppRowAdaptor::badgeTapped() {
    model_->badgeTapped();
}

void ProtectedAppRowAdaptor::lockNow() {
    model_->lockNow();
}

void ProtectedAppRowAdaptor::chooseTimeout(int index) {
    const auto& options = ProtectedAppRowViewModel::timeoutOptions;
    if (index >= 0 && static_cast<std::size_t>(index) < options.size()) {
        model_->chooseTimeout(options[static_cast<std::size_t>(index)].value);
    }
}

void ProtectedAppRowAdaptor::setAutoLockEnabled(bool enabled) {
    model_->setAutoLockEnabled(enabled);
}

void ProtectedAppRowAdaptor::remove() {
    model_->remove();
}

} // namespace velmora
