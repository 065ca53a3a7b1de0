#include "Models/ProtectedAppsCoding.hpp"

#include "Support/Utf8.hpp"
#include "Support/Uuid.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <nlohmann/json.hpp>

namespace velmora {

namespace {

using Json = nlohmann::json;

/// 2001-01-01 00:00:00 UTC, where stored dates count from.
constexpr TimePoint kReferenceDate{std::chrono::seconds{978307200}};
/// Keeps every stored date within what a `TimePoint` holds (about 290 years either way of
/// 1970), with room to spare.
constexpr double kLargestDateOffsetSeconds = 8.0e9;
constexpr long double kNanosecondsPerSecond = 1.0e9L;

/// Why a stored entry or list was refused; turned into a description at the boundary.
struct Rejection {
    std::string description;
};

Rejection entryRejection(std::size_t index, std::string_view what) {
    return {"entry " + std::to_string(index) + ": " + std::string(what)};
}

std::optional<TimePoint> dateFromReferenceSeconds(double seconds) {
    if (!(std::abs(seconds) <= kLargestDateOffsetSeconds)) {
        return std::nullopt;
    }
    // Long double keeps whole nanoseconds exact, and a clock coarser than that (microseconds
    // on macOS) takes the nearest tick, so a saved list reads back to the same text.
    const auto nanoseconds =
        std::llround(static_cast<long double>(seconds) * kNanosecondsPerSecond);
    return kReferenceDate +
           std::chrono::round<TimePoint::duration>(std::chrono::nanoseconds{nanoseconds});
}

/// Dates beyond the readable range are stored at its edge.
double referenceSecondsFromDate(TimePoint date) {
    constexpr auto kReferenceNanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(kReferenceDate.time_since_epoch())
            .count();
    const auto sinceEpoch =
        std::chrono::duration_cast<std::chrono::nanoseconds>(date.time_since_epoch()).count();
    if (sinceEpoch < std::numeric_limits<std::int64_t>::min() + kReferenceNanoseconds) {
        return -kLargestDateOffsetSeconds;
    }
    const auto seconds = static_cast<double>(
        static_cast<long double>(sinceEpoch - kReferenceNanoseconds) / kNanosecondsPerSecond);
    return std::clamp(seconds, -kLargestDateOffsetSeconds, kLargestDateOffsetSeconds);
}

std::optional<std::int64_t> wholeNumber(const Json& value) {
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(number);
    }
    if (value.is_number_integer()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_float()) {
        // A writer may spell a whole number as 5.0.
        const double number = value.get<double>();
        constexpr double kTwoToThe63 = 9223372036854775808.0;
        if (std::trunc(number) == number && number >= -kTwoToThe63 && number < kTwoToThe63) {
            return static_cast<std::int64_t>(number);
        }
    }
    return std::nullopt;
}

/// An optional list of texts; anything else reads as none, so that the entry still protects.
std::vector<std::string> optionalTexts(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_array() ||
        !std::all_of(found->begin(), found->end(), [](const Json& v) { return v.is_string(); })) {
        return {};
    }
    return found->get<std::vector<std::string>>();
}

std::optional<ProtectedApp> decodeEntry(const Json& object, std::size_t index,
                                        Rejection& rejection) {
    if (!object.is_object()) {
        rejection = entryRejection(index, "is not an object");
        return std::nullopt;
    }
    for (const char* key : {"id", "bundleIdentifier", "displayName", "addedDate", "autoLockEnabled",
                            "idleTimeoutMinutes"}) {
        if (!object.contains(key)) {
            rejection = entryRejection(index, std::string("key \"") + key + "\" is missing");
            return std::nullopt;
        }
    }
    const auto wrongType = [&](const char* key, const char* expected) {
        rejection = entryRejection(index, std::string("\"") + key + "\" is not " + expected);
        return std::nullopt;
    };

    const Json& id = object.at("id");
    const Json& bundleIdentifier = object.at("bundleIdentifier");
    const Json& displayName = object.at("displayName");
    const Json& addedDate = object.at("addedDate");
    const Json& autoLockEnabled = object.at("autoLockEnabled");
    const Json& idleTimeoutMinutes = object.at("idleTimeoutMinutes");

    if (!id.is_string()) {
        return wrongType("id", "a string");
    }
    auto canonicalId = canonicalUuidString(id.get_ref<const std::string&>());
    if (!canonicalId) {
        return wrongType("id", "a UUID");
    }
    if (!bundleIdentifier.is_string()) {
        return wrongType("bundleIdentifier", "a string");
    }
    if (!displayName.is_string()) {
        return wrongType("displayName", "a string");
    }
    if (!addedDate.is_number()) {
        return wrongType("addedDate", "a number");
    }
    const auto date = dateFromReferenceSeconds(addedDate.get<double>());
    if (!date) {
        return wrongType("addedDate", "a date within range");
    }
    if (!autoLockEnabled.is_boolean()) {
        return wrongType("autoLockEnabled", "true or false");
    }
    const auto minutes = wholeNumber(idleTimeoutMinutes);
    if (!minutes) {
        return wrongType("idleTimeoutMinutes", "a 64-bit integer");
    }

    return ProtectedApp{
        .id = std::move(*canonicalId),
        .bundleIdentifier = bundleIdentifier.get<std::string>(),
        .displayName = displayName.get<std::string>(),
        .addedDate = *date,
        .autoLockEnabled = autoLockEnabled.get<bool>(),
        .idleTimeoutMinutes = *minutes,
        .windowClasses = optionalTexts(object, "windowClasses"),
        .executables = optionalTexts(object, "executables"),
    };
}

std::optional<std::vector<ProtectedApp>> decode(std::string_view text, Rejection& rejection) {
    Json document;
    try {
        document = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        rejection = {std::string("not valid JSON: ") + error.what()};
        return std::nullopt;
    }
    if (!document.is_array()) {
        rejection = {"the stored list is not a JSON array"};
        return std::nullopt;
    }
    std::vector<ProtectedApp> apps;
    apps.reserve(document.size());
    for (const Json& entry : document) {
        auto app = decodeEntry(entry, apps.size(), rejection);
        if (!app) {
            return std::nullopt;
        }
        apps.push_back(std::move(*app));
    }
    return apps;
}

std::optional<std::string> encode(const std::vector<ProtectedApp>& apps, Rejection&) {
    // One odd entry must never cost the others their protection after a restart: whatever
    // cannot be stored as it is gets stored in the nearest form that reads back.
    auto document = nlohmann::ordered_json::array();
    for (const ProtectedApp& app : apps) {
        nlohmann::ordered_json entry{
            {"id", canonicalUuidString(app.id).value_or(makeUuidString())},
            {"bundleIdentifier", validUtf8(app.bundleIdentifier)},
            {"displayName", validUtf8(app.displayName)},
            {"addedDate", referenceSecondsFromDate(app.addedDate)},
            {"autoLockEnabled", app.autoLockEnabled},
            {"idleTimeoutMinutes", app.idleTimeoutMinutes},
        };
        for (const auto& [key, values] :
             {std::pair{"windowClasses", &app.windowClasses}, {"executables", &app.executables}}) {
            if (!values->empty()) {
                auto& list = entry[key] = nlohmann::ordered_json::array();
                for (const std::string& value : *values) {
                    list.push_back(validUtf8(value));
                }
            }
        }
        document.push_back(std::move(entry));
    }
    return document.dump();
}

/// Runs a coding step so that no exception leaves it, whatever the input.
template <class Step>
auto guarded(Step step, std::string* errorDescription) noexcept
    -> decltype(step(std::declval<Rejection&>())) {
    Rejection rejection;
    try {
        auto result = step(rejection);
        if (!result && errorDescription) {
            *errorDescription = std::move(rejection.description);
        }
        return result;
    } catch (const std::exception& error) {
        if (errorDescription) {
            *errorDescription = error.what();
        }
    } catch (...) {
        if (errorDescription) {
            *errorDescription = "unexpected failure";
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ProtectedApp>>
decodeProtectedApps(std::string_view json, std::string* errorDescription) noexcept {
    return guarded([json](Rejection& rejection) { return decode(json, rejection); },
                   errorDescription);
}

std::optional<std::string> encodeProtectedApps(const std::vector<ProtectedApp>& apps,
                                               std::string* errorDescription) noexcept {
    return guarded([&apps](Rejection& rejection) { return encode(apps, rejection); },
                   errorDescription);
}

} // namespace velmora
