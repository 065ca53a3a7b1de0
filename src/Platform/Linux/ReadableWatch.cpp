#include "Platform/Linux/ReadableWatch.hpp"

#include <QSocketNotifier>

namespace velmora {

ReadableWatch::ReadableWatch(int fd, std::function<void()> onReadable)
    : notifier_(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [onReadable = std::move(onReadable)] { onReadable(); });
}

ReadableWatch::~ReadableWatch() = default;

void ReadableWatch::setEnabled(bool enabled) {
    notifier_->setEnabled(enabled);
}

} // namespace velmora
