#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace velmora {

/// Calls a function on the Qt event loop of the thread that made it whenever a descriptor
/// has something to read, for as long as the watch lives.
///
///     ReadableWatch watch(fd, [this] { drain(); });
///     watch.setEnabled(false);   // the descriptor broke
class ReadableWatch {
public:
    ReadableWatch(int fd, std::function<void()> onReadable);
    ~ReadableWatch();
    ReadableWatch(const ReadableWatch&) = delete;
    ReadableWatch& operator=(const ReadableWatch&) = delete;

    void setEnabled(bool enabled);

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace velmora
