#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// What the program keeps for itself, apart from the settings a person edits: the copy of
/// the protected list it last wrote, the record of failed authentications. Small texts by
/// name, each replaced in one step, readable by the person's account alone.
///
///     if (auto copy = store.read("protected-apps.json")) { compare(*copy); }
///     store.write("failed-attempts.json", record);
class StateStore {
public:
    virtual ~StateStore() = default;

    /// The text stored under `name`; nothing when there is none or it cannot be read.
    [[nodiscard]] virtual std::optional<std::string> read(std::string_view name) const = 0;
    /// Replaces the text under `name`; false when it could not be stored, and then the
    /// previous text is kept.
    virtual bool write(std::string_view name, std::string_view contents) = 0;
};

} // namespace velmora
