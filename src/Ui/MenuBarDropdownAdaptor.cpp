#include "Ui/MenuBarDropdownAdaptor.hpp"

#include "Ui/Colors.hpp"
#include "Ui/PanelStyle.hpp"
#include "Ui/ProtectedAppRowAdaptor.hpp"
#include "Ui/SettingsPopupAdaptor.hpp"
#include "Views/MenuBarDropdownStyle.hpp"

#include <algorithm>

namespace velmora {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QVariantMap noticeMap(const std::optional<MenuBarDropdownViewModel::Notice>& notice) {
    if (!notice) {
        return {};
    }
    return {{QStringLiteral("title"), QString::fromStdString(notice->title)},
            {QStringLiteral("detail"), QString::fromStdString(notice->detail)}};
}

} // namespace

MenuBarDropdownAdaptor::MenuBarDropdownAdaptor(std::shared_ptr<MenuBarDropdownViewModel> model,
                                               QObject* parent)
    : QObject(parent), model_(std::move(model)) {
    const auto notify = [this](void (MenuBarDropdownAdaptor::*changed)()) {
        return [this, changed](const auto&) { Q_EMIT(this->*changed)(); };
    };
    subscriptions_.push_back(model_->headerStatus.subscribeToChanges(
        notify(&MenuBarDropdownAdaptor::headerStatusChanged)));
    subscriptions_.push_back(model_->warningRows.subscribeToChanges(
        notify(&MenuBarDropdownAdaptor::warningRowsChanged)));
    subscriptions_.push_back(model_->lockAllEnabled.subscribeToChanges(
        notify(&MenuBarDropdownAdaptor::lockAllEnabledChanged)));
    subscriptions_.push_back(model_->showSettingsPopover.subscribeToChanges(
        notify(&MenuBarDropdownAdaptor::showSettingsPopoverChanged)));
    for (auto* observable : {&model_->storedListNotice, &model_->saveFailureNotice}) {
        subscriptions_.push_back(
            observable->subscribeToChanges(notify(&MenuBarDropdownAdaptor::noticesChanged)));
    }
    subscriptions_.push_back(model_->failedAttemptsText.subscribeToChanges(
        notify(&MenuBarDropdownAdaptor::noticesChanged)));
    subscriptions_.push_back(model_->isAuthenticatingNotice.subscribeToChanges(
        notify(&MenuBarDropdownAdaptor::noticesChanged)));
    subscriptions_.push_back(model_->rows.subscribe([this](const auto&) { rebuildRows(); }));
    subscriptions_.push_back(
        model_->settingsPopup.subscribe([this](const auto&) { replaceSettingsPopup(); }));
}

MenuBarDropdownAdaptor::~MenuBarDropdownAdaptor() = default;

QString MenuBarDropdownAdaptor::statusText() const {
    return text(model_->headerStatus.get().text);
}

QColor MenuBarDropdownAdaptor::statusDotColor() const {
    return PanelStyle::color(model_->headerStatus.get().dotColor);
}

QColor MenuBarDropdownAdaptor::statusTextColor() const {
    const NamedColor name = model_->headerStatus.get().textColor;
    return name == NamedColor::red
               ? Colors::tinted(PanelStyle::color(name), MenuBarDropdownStyle::notProtectedOpacity)
               : PanelStyle::color(name);
}

QVariantList MenuBarDropdownAdaptor::warningRows() const {
    QVariantList list;
    for (const auto& row : model_->warningRows.get()) {
        list.append(QVariantMap{{QStringLiteral("symbol"), text(row.symbol)},
                                {QStringLiteral("title"), text(row.title)},
                                {QStringLiteral("subtitle"), text(row.subtitle)}});
    }
    return list;
}

QList<QObject*> MenuBarDropdownAdaptor::rows() const {
    return {rows_.begin(), rows_.end()};
}

int MenuBarDropdownAdaptor::protectedAppCount() const {
    return static_cast<int>(model_->protectedAppCount());
}

QObject* MenuBarDropdownAdaptor::settingsPopup() const {
    return settingsPopup_;
}

QVariantMap MenuBarDropdownAdaptor::storedListNotice() const {
    return noticeMap(model_->storedListNotice.get());
}

QVariantMap MenuBarDropdownAdaptor::saveFailureNotice() const {
    return noticeMap(model_->saveFailureNotice.get());
}

QString MenuBarDropdownAdaptor::failedAttemptsText() const {
    return QString::fromStdString(model_->failedAttemptsText.get().value_or(""));
}

void MenuBarDropdownAdaptor::keepStoredList() {
    model_->keepStoredList();
}

void MenuBarDropdownAdaptor::restoreProtectedList() {
    model_->restoreProtectedList();
}

void MenuBarDropdownAdaptor::dismissFailedAttempts() {
    model_->dismissFailedAttempts();
}

void MenuBarDropdownAdaptor::refresh() {
    model_->refresh();
}

void MenuBarDropdownAdaptor::warningTapped(int index) {
    const auto& warnings = model_->warningRows.get();
    if (index >= 0 && static_cast<std::size_t>(index) < warnings.size()) {
        model_->warningTapped(warnings[static_cast<std::size_t>(index)].permission);
    }
}

void MenuBarDropdownAdaptor::addApp() {
    model_->addApp();
}

void MenuBarDropdownAdaptor::lockAll() {
    model_->lockAll();
}

void MenuBarDropdownAdaptor::toggleSettingsPopover() {
    model_->toggleSettingsPopover();
}

void MenuBarDropdownAdaptor::settingsPopoverClosed() {
    model_->settingsPopoverClosed();
}

void MenuBarDropdownAdaptor::quit() {
    model_->quit();
}

void MenuBarDropdownAdaptor::rebuildRows() {
    std::vector<ProtectedAppRowAdaptor*> next;
    for (const auto& row : model_->rows.get()) {
        const auto kept = std::find_if(rows_.begin(), rows_.end(), [&](const auto* adaptor) {
            return adaptor->model() == row;
        });
        if (kept != rows_.end()) {
            next.push_back(*kept);
            *kept = nullptr;
        } else {
            next.push_back(new ProtectedAppRowAdaptor(row, this));
        }
    }
    // Later: a row's own click may be what removed it.
    for (ProtectedAppRowAdaptor* gone : rows_) {
        if (gone) {
            gone->deleteLater();
        }
    }
    rows_ = std::move(next);
    Q_EMIT rowsChanged();
}

void MenuBarDropdownAdaptor::replaceSettingsPopup() {
    if (settingsPopup_) {
        settingsPopup_->deleteLater();
    }
    const auto& popup = model_->settingsPopup.get();
    settingsPopup_ = popup ? new SettingsPopupAdaptor(popup, this) : nullptr;
    Q_EMIT settingsPopupChanged();
}

} // namespace velmora
