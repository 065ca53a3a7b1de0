#pragma once

#include <functional>
#include <optional>
#include <string>

namespace velmora {

/// Lets the user choose one application bundle from disk, without blocking the caller.
///
///     picker.pickApplication([](const std::optional<std::string>& path) {
///         if (path) { addApp(*path); }
///     });
class ApplicationPicker {
public:
    /// The chosen bundle's path, or nothing when the user cancelled. Called once, on the main
    /// queue.
    using Completion = std::function<void(const std::optional<std::string>& path)>;

    virtual ~ApplicationPicker() = default;
    virtual void pickApplication(Completion completion) = 0;
};

} // namespace velmora
