#pragma once

#include "Platform/NotificationCenter.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

/// An in-memory notification centre that delivers through the main queue and remembers
/// every name posted, for tests to read back.
class SimNotificationCenter final : public NotificationCenter {
public:
    explicit SimNotificationCenter(std::shared_ptr<RunLoop> runLoop);

    void post(const std::string& name) override;
    [[nodiscard]] Subscription addObserver(const std::string& name, Observer observer) override;

    [[nodiscard]] const std::vector<std::string>& posted() const { return posted_; }
    [[nodiscard]] std::size_t observerCount(const std::string& name) const;

private:
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<std::map<std::string, Signal<>>> channels_;
    std::vector<std::string> posted_;
};

} // namespace velmora
