#include "Ui/PasswordPromptAdaptor.hpp"

namespace velmora {

PasswordPromptAdaptor::PasswordPromptAdaptor(QString reason, QObject* parent)
    : QObject(parent), reason_(std::move(reason)) {}

void PasswordPromptAdaptor::setMessage(const QString& message) {
    if (message != message_) {
        message_ = message;
        Q_EMIT stateChanged();
    }
}

void PasswordPromptAdaptor::setWaiting(bool waiting) {
    if (waiting != waiting_) {
        waiting_ = waiting;
        Q_EMIT stateChanged();
    }
}

void PasswordPromptAdaptor::setBusy(bool busy) {
    if (busy != busy_) {
        busy_ = busy;
        Q_EMIT stateChanged();
    }
}

} // namespace velmora
