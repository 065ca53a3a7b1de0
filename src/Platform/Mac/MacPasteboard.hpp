#pragma once

#include "Platform/Pasteboard.hpp"

namespace velmora {

/// The general `NSPasteboard`.
class MacPasteboard final : public Pasteboard {
public:
    void clearContents() override;
    bool setString(const std::string& text) override;
};

} // namespace velmora
