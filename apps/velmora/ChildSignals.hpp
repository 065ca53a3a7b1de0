#pragma once

#include <functional>
#include <memory>

namespace velmora {

class ReadableWatch;

/// Turns SIGCHLD, which comes when a child of this process stops, continues or ends, into a
/// call on the main thread: a child's state is learnt the moment it changes, with no clock.
///
///     ChildSignals children([this] { checkGuard(); });
class ChildSignals {
public:
    explicit ChildSignals(std::function<void()> onChange);
    ~ChildSignals();
    ChildSignals(const ChildSignals&) = delete;
    ChildSignals& operator=(const ChildSignals&) = delete;

private:
    std::function<void()> onChange_;
    std::unique_ptr<ReadableWatch> watch_;
};

} // namespace velmora
