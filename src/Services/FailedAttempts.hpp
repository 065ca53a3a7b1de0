#pragma once

#include "Platform/StateStore.hpp"
#include "Support/Logging.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// Failed owner authentications: how many prompts in a row failed, the wait that puts
/// before the next prompt, and every failure since the owner last dismissed them. Kept in
/// the state store, so that a restart neither ends a wait nor forgets a failure.
///
///     auto attempts = FailedAttempts::create({store, runLoop, clock, logger});
///     attempts->recordFailure("Mail");
///     if (auto wait = attempts->secondsToWait().get()) { refuse(waitText(*wait)); }
///
/// Main thread only.
class FailedAttempts final : public std::enable_shared_from_this<FailedAttempts> {
    struct Passkey {};

public:
    struct Attempt {
        TimePoint date;
        /// The name of the application the prompt was for.
        std::string application;

        friend bool operator==(const Attempt&, const Attempt&) = default;
    };

    struct Collaborators {
        /// May be null: nothing survives a restart then.
        std::shared_ptr<StateStore> stateStore;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<TimeProviding> clock;
        std::shared_ptr<Logging> logger;
    };

    static constexpr std::string_view storeName = "failed-attempts.json";
    /// The latest failures kept for the panel.
    static constexpr std::size_t keptAttempts = 500;

    /// The wait before the next prompt once `failuresInARow` prompts in a row have failed:
    /// none before the third, then 30 s, 1 min, 5 min, and 15 min from the sixth on.
    [[nodiscard]] static Seconds waitAfter(int failuresInARow);
    /// "Try again in 30 s", "Try again in 2 min" (minutes rounded up).
    [[nodiscard]] static std::string waitText(int seconds);

    /// The process-wide record, over the installed platform.
    static std::shared_ptr<FailedAttempts> shared();
    /// Reads the stored record; a wait still running goes on counting down.
    static std::shared_ptr<FailedAttempts> create(Collaborators collaborators);
    FailedAttempts(Passkey, Collaborators collaborators);

    /// Whole seconds until a prompt may start again, counting down every second; nothing
    /// while one may start now.
    [[nodiscard]] Observable<std::optional<int>>& secondsToWait() { return secondsToWait_; }
    /// The failures since the owner last dismissed them, oldest first.
    [[nodiscard]] Observable<std::vector<Attempt>>& undismissed() { return undismissed_; }
    [[nodiscard]] int failuresInARow() const { return failuresInARow_; }

    void recordFailure(std::string application);
    /// Ends the run of failures; the undismissed ones stay for the owner to see.
    void recordSuccess();
    void dismiss();

private:
    void load();
    void save() const;
    /// Recomputes the wait and keeps a countdown running while there is one.
    void updateWait();

    Collaborators collaborators_;
    int failuresInARow_ = 0;
    std::optional<TimePoint> lastFailure_;
    Observable<std::optional<int>> secondsToWait_;
    Observable<std::vector<Attempt>> undismissed_;
    TimerHandle countdown_;
};

} // namespace velmora
