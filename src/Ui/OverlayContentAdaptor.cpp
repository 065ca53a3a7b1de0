#include "Ui/OverlayContentAdaptor.hpp"

namespace velmora {

OverlayContentAdaptor::OverlayContentAdaptor(std::shared_ptr<OverlayContent> content,
                                             QObject* parent)
    : QObject(parent), content_(std::move(content)),
      appName_(QString::fromStdString(content_->appName())),
      unlockTitle_(QString::fromStdString(content_->unlockTitle())),
      unlockSymbol_(QString::fromStdString(content_->unlockSymbol())),
      hasMinimizeButton_(content_->hasMinimizeButton()),
      unlockWait_(content_->observeUnlockWait([this] { Q_EMIT unlockWaitChanged(); })) {}

QString OverlayContentAdaptor::unlockWait() const {
    return QString::fromStdString(content_->unlockWaitText());
}

void OverlayContentAdaptor::unlock() {
    later(&OverlayContent::unlockTapped);
}

void OverlayContentAdaptor::minimize() {
    if (hasMinimizeButton_) {
        later(&OverlayContent::minimizeTapped);
    }
}

void OverlayContentAdaptor::backgroundClicked() {
    later(&OverlayContent::backgroundTapped);
}

void OverlayContentAdaptor::later(void (OverlayContent::*action)()) {
    // The content is held by the call, so it outlives a replacement made by the action.
    QMetaObject::invokeMethod(
        this, [content = content_, action] { ((*content).*action)(); }, Qt::QueuedConnection);
}

} // namespace velmora
