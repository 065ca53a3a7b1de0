#pragma once

#include "Platform/Linux/ApplicationIdentities.hpp"
#include "Support/ProcessId.hpp"

#include <memory>
#include <string>
#include <vector>

namespace velmora {

/// The guard's hands on sway: moves every window of a set of processes or protected
/// applications to the scratchpad over sway's IPC, and hears of every window event, so that
/// one shown again or a new one is hidden at once. Blocking, with short time-outs: the guard
/// has nothing else to do meanwhile.
///
///     auto sway = SwayHider::connect(getenv("SWAYSOCK"));
///     sway->hide({4211}, applications);
///     poll({sway->fileDescriptor(), POLLIN});
///     if (sway->readEvents()) { sway->hide({4211}, applications); }
class SwayHider {
public:
    /// Nothing when sway does not answer at `socketPath`.
    static std::unique_ptr<SwayHider> connect(const std::string& socketPath);
    ~SwayHider();
    SwayHider(const SwayHider&) = delete;
    SwayHider& operator=(const SwayHider&) = delete;

    /// Readable when window events arrive.
    [[nodiscard]] int fileDescriptor() const { return events_; }
    [[nodiscard]] bool hasFailed() const { return failed_; }
    /// Moves each shown window of `pids` or of one of `applications` to the scratchpad;
    /// answers how many.
    int hide(const std::vector<ProcessId>& pids,
             const std::vector<ApplicationIdentities>& applications);
    /// Takes the waiting events; true when one came (a window may have shown).
    bool readEvents();

private:
    SwayHider(int commands, int events) : commands_(commands), events_(events) {}
    /// The body of the reply; empty when sway did not answer in time.
    std::string request(std::uint32_t type, const std::string& body);

    int commands_;
    int events_;
    std::string eventInput_;
    bool failed_ = false;
};

} // namespace velmora
