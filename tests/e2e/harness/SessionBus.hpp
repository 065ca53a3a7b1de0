#pragma once

#include "X11Testing/ChildProcess.hpp"
#include "harness/Command.hpp"

#include <filesystem>
#include <memory>
#include <string>

namespace velmora::e2e {

/// A private D-Bus session bus for one test.
class SessionBus {
public:
    /// Listens on a socket in `directory`, for this user alone or for every user (a session
    /// whose compositor runs as another user). Throws std::runtime_error when the daemon does
    /// not report its address in time.
    explicit SessionBus(const std::filesystem::path& directory, bool everyUser = false);

    [[nodiscard]] const std::string& address() const { return address_; }

private:
    std::string address_;
    std::unique_ptr<testing::ChildProcess> daemon_;
};

} // namespace velmora::e2e
