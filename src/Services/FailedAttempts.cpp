#include "Services/FailedAttempts.hpp"

#include "Platform/Platform.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

namespace velmora {

namespace {

using Json = nlohmann::json;

constexpr std::array<double, 4> kWaits{30, 60, 5 * 60, 15 * 60};
constexpr int kFailuresBeforeWaiting = 3;

double secondsSinceEpoch(TimePoint date) {
    return std::chrono::duration<double>(date.time_since_epoch()).count();
}

std::optional<TimePoint> dateFrom(const Json& value) {
    // Within a few centuries of 1970, as any real failure is.
    if (!value.is_number() || !(std::abs(value.get<double>()) < 1e10)) {
        return std::nullopt;
    }
    return TimePoint{} + toClockDuration(Seconds{value.get<double>()});
}

} // namespace

Seconds FailedAttempts::waitAfter(int failuresInARow) {
    if (failuresInARow < kFailuresBeforeWaiting) {
        return Seconds{0};
    }
    const auto step = std::min<std::size_t>(
        static_cast<std::size_t>(failuresInARow - kFailuresBeforeWaiting), kWaits.size() - 1);
    return Seconds{kWaits[step]};
}

std::string FailedAttempts::waitText(int seconds) {
    if (seconds < 60) {
        return "Try again in " + std::to_string(seconds) + " s";
    }
    return "Try again in " + std::to_string((seconds + 59) / 60) + " min";
}

std::shared_ptr<FailedAttempts> FailedAttempts::shared() {
    static const std::shared_ptr<FailedAttempts> instance = [] {
        const Platform& platform = installedPlatform();
        requirePlatformServices(platform.runLoop && platform.timeProvider && platform.logger,
                                "FailedAttempts");
        return create(
            {platform.stateStore, platform.runLoop, platform.timeProvider, platform.logger});
    }();
    return instance;
}

std::shared_ptr<FailedAttempts> FailedAttempts::create(Collaborators collaborators) {
    auto attempts = std::make_shared<FailedAttempts>(Passkey{}, std::move(collaborators));
    attempts->load();
    attempts->updateWait();
    return attempts;
}

FailedAttempts::FailedAttempts(Passkey, Collaborators collaborators)
    : collaborators_(std::move(collaborators)) {}

void FailedAttempts::recordFailure(std::string application) {
    const TimePoint now = collaborators_.clock->now();
    ++failuresInARow_;
    lastFailure_ = now;
    auto attempts = undismissed_.get();
    attempts.push_back({now, std::move(application)});
    if (attempts.size() > keptAttempts) {
        attempts.erase(attempts.begin(), attempts.end() - keptAttempts);
    }
    collaborators_.logger->warn("Authentication for " + attempts.back().application + " failed; " +
                                std::to_string(failuresInARow_) + " in a row");
    undismissed_.set(std::move(attempts));
    save();
    updateWait();
}

void FailedAttempts::recordSuccess() {
    if (failuresInARow_ == 0) {
        return;
    }
    failuresInARow_ = 0;
    lastFailure_.reset();
    save();
    updateWait();
}

void FailedAttempts::dismiss() {
    if (undismissed_.get().empty()) {
        return;
    }
    undismissed_.set({});
    save();
}

void FailedAttempts::updateWait() {
    std::optional<int> seconds;
    if (lastFailure_) {
        const Seconds wait = waitAfter(failuresInARow_);
        // A clock set back never makes the wait longer than it is.
        const Seconds left = std::clamp(
            wait - std::chrono::duration_cast<Seconds>(collaborators_.clock->now() - *lastFailure_),
            Seconds{0}, wait);
        if (left > Seconds{0}) {
            seconds = static_cast<int>(std::ceil(left.count()));
        }
    }
    secondsToWait_.setIfChanged(seconds);
    if (!seconds) {
        countdown_.invalidate();
    } else if (!countdown_.isValid()) {
        countdown_ = collaborators_.runLoop->every(Seconds{1}, [weak = weak_from_this()] {
            if (auto self = weak.lock()) {
                self->updateWait();
            }
        });
    }
}

void FailedAttempts::load() {
    const auto text =
        collaborators_.stateStore ? collaborators_.stateStore->read(storeName) : std::nullopt;
    if (!text) {
        return;
    }
    const Json record = Json::parse(*text, nullptr, false);
    if (!record.is_object()) {
        collaborators_.logger->error("The record of failed attempts cannot be read");
        return;
    }
    if (const auto count = record.find("failuresInARow");
        count != record.end() && count->is_number_integer()) {
        failuresInARow_ =
            static_cast<int>(std::clamp<std::int64_t>(count->get<std::int64_t>(), 0, 1'000'000));
    }
    if (const auto last = record.find("lastFailure"); last != record.end()) {
        lastFailure_ = dateFrom(*last);
    }
    std::vector<Attempt> attempts;
    if (const auto list = record.find("attempts"); list != record.end() && list->is_array()) {
        for (const Json& entry : *list) {
            const auto date = entry.is_object() && entry.contains("date")
                                  ? dateFrom(entry.at("date"))
                                  : std::nullopt;
            const auto name = entry.is_object() ? entry.find("application") : entry.end();
            if (date && name != entry.end() && name->is_string()) {
                attempts.push_back({*date, name->get<std::string>()});
            }
        }
    }
    undismissed_.set(std::move(attempts));
}

void FailedAttempts::save() const {
    if (!collaborators_.stateStore) {
        return;
    }
    Json attempts = Json::array();
    for (const Attempt& attempt : undismissed_.get()) {
        attempts.push_back(
            {{"date", secondsSinceEpoch(attempt.date)}, {"application", attempt.application}});
    }
    Json record{{"failuresInARow", failuresInARow_}, {"attempts", std::move(attempts)}};
    if (lastFailure_) {
        record["lastFailure"] = secondsSinceEpoch(*lastFailure_);
    }
    // Names that are not UTF-8 are written with replacement characters.
    if (!collaborators_.stateStore->write(
            storeName, record.dump(2, ' ', false, Json::error_handler_t::replace))) {
        collaborators_.logger->error("The record of failed attempts could not be written");
    }
}

} // namespace velmora
