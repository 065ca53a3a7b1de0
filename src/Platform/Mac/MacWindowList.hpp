#pragma once

#include "Platform/WindowList.hpp"

namespace velmora {

/// The window server's list through `CGWindowListCopyWindowInfo`: on-screen windows only,
/// without desktop elements, front to back.
class MacWindowList final : public WindowListProviding {
public:
    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;
};

} // namespace velmora
