#include "Ui/MainContentAdaptor.hpp"

#include "Ui/PermissionsViewAdaptor.hpp"
#include "Ui/QtText.hpp"

namespace velmora {

namespace {

using Model = MainContentViewModel;

} // namespace

MainContentAdaptor::MainContentAdaptor(std::shared_ptr<MainContentViewModel> model, QObject* parent)
    : QObject(parent), model_(std::move(model)) {
    follow();
    subscription_ =
        model_->onboarding.subscribeToChanges([this](const std::shared_ptr<PermissionsViewModel>&) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    // The old onboarding outlives the items that showed it.
                    PermissionsViewAdaptor* previous = onboarding_;
                    follow();
                    Q_EMIT contentChanged();
                    if (previous) {
                        previous->deleteLater();
                    }
                },
                Qt::QueuedConnection);
        });
}

void MainContentAdaptor::follow() {
    setupComplete_ = model_->content.get() == Model::Content::setupComplete;
    const std::shared_ptr<PermissionsViewModel> onboarding = model_->onboarding.get();
    onboarding_ = onboarding ? new PermissionsViewAdaptor(onboarding, this) : nullptr;
}

QObject* MainContentAdaptor::onboarding() const {
    return onboarding_;
}
QString MainContentAdaptor::setupCompleteSymbol() {
    return toQString(Model::setupCompleteSymbol);
}
QString MainContentAdaptor::setupCompleteTitle() {
    return toQString(Model::setupCompleteTitle);
}
QString MainContentAdaptor::setupCompleteMessage() {
    return toQString(Model::setupCompleteMessage);
}
QString MainContentAdaptor::setupCompleteHint() {
    return toQString(Model::setupCompleteHint);
}

} // namespace velmora
