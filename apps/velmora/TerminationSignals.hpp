#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace velmora {

/// Turns SIGTERM, SIGINT and SIGHUP (log-out, Ctrl+C, a closed terminal) into a call on the
/// main thread, so that the program stops the way it ends normally and its log is written
/// out, instead of vanishing mid-line.
///
///     TerminationSignals signals([] { QCoreApplication::exit(0); });
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    static void handle(int signal);

    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace velmora
