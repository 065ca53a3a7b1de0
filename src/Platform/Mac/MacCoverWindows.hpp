#pragma once

#include "Platform/CoverWindows.hpp"

namespace velmora {

/// Covers as borderless, opaque black `NSWindow`s that never become key or main, each at the
/// covered window's level and ordered directly above it by its window number. They belong to
/// the space they were shown on, as the covered window does.
class MacCoverWindows final : public CoverWindowFactory {
public:
    [[nodiscard]] std::unique_ptr<CoverWindow> makeCover() override;
};

} // namespace velmora
