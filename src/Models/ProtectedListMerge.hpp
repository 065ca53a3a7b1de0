#pragma once

#include "Models/ProtectedApp.hpp"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// How the stored protected list falls short of the copy the program last wrote.
struct StoredListProblem {
    enum class Kind {
        /// Nothing is stored.
        missing,
        /// What is stored cannot be read.
        unreadable,
        /// It lacks applications the copy holds, or holds them with weaker settings.
        weakened,
    };

    Kind kind = Kind::missing;
    /// The display names of the applications kept protected from the copy alone, or with
    /// the copy's stronger settings, in the copy's order.
    std::vector<std::string> keptApps{};

    friend bool operator==(const StoredListProblem&, const StoredListProblem&) = default;
};

/// What stays protected when the stored list and the copy are read at start.
struct MergedProtectedList {
    std::vector<ProtectedApp> apps;
    /// Nothing when the stored list protects at least what the copy does.
    std::optional<StoredListProblem> problem;
};

/// The union of the stored list and the copy: every stored entry, each with the stronger of
/// its settings and the copy's (auto-lock on, the shorter time-out) and every identity
/// either knows, followed by the copy's entries that are not stored. Nothing but an
/// authenticated change may protect less than the copy, so any shortfall is a problem.
///
///     auto merged = mergeProtectedLists(stored, StoredListProblem::Kind::unreadable, copy);
///     state.assign(merged.apps);
///     if (merged.problem) { warn(*merged.problem); }
///
/// `stored` is nothing when it is missing or unreadable, as `whyNotStored` says.
[[nodiscard]] MergedProtectedList
mergeProtectedLists(const std::optional<std::vector<ProtectedApp>>& stored,
                    StoredListProblem::Kind whyNotStored, const std::vector<ProtectedApp>& copy);

} // namespace velmora
