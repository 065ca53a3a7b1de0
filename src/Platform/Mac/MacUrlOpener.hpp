#pragma once

#include "Platform/UrlOpening.hpp"

namespace velmora {

/// Opens URLs with `NSWorkspace openURL:`.
class MacUrlOpener final : public UrlOpening {
public:
    bool open(const std::string& url) override;
};

} // namespace velmora
