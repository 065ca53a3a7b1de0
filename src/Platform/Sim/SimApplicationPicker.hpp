#pragma once

#include "Platform/ApplicationPicker.hpp"
#include "Support/RunLoop.hpp"

#include <deque>
#include <memory>

namespace velmora {

/// An open panel that stays up until the test chooses for the user.
///
///     SimApplicationPicker picker(loop);
///     model.addApp();                            // the panel opens
///     picker.choose("/Applications/Notes.app");  // or picker.cancel()
///     loop->runUntilIdle();                      // the caller hears of it
class SimApplicationPicker final : public ApplicationPicker {
public:
    explicit SimApplicationPicker(std::shared_ptr<RunLoop> runLoop)
        : runLoop_(std::move(runLoop)) {}

    void pickApplication(Completion completion) override { open_.push_back(std::move(completion)); }

    /// Closes the oldest open panel with `path` chosen.
    void choose(const std::string& path) { close(path); }
    void cancel() { close(std::nullopt); }

    [[nodiscard]] std::size_t openCount() const { return open_.size(); }

private:
    void close(std::optional<std::string> path) {
        if (open_.empty()) {
            return;
        }
        runLoop_->post(
            [completion = std::move(open_.front()), path = std::move(path)] { completion(path); });
        open_.pop_front();
    }

    std::shared_ptr<RunLoop> runLoop_;
    std::deque<Completion> open_;
};

} // namespace velmora
