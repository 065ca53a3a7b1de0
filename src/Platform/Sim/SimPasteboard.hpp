#pragma once

#include "Platform/Pasteboard.hpp"

#include <optional>

namespace velmora {

/// The general pasteboard in memory.
class SimPasteboard final : public Pasteboard {
public:
    void clearContents() override { text_.reset(); }
    bool setString(const std::string& text) override {
        text_ = text;
        return true;
    }

    /// What another application would paste; nothing after a clear.
    [[nodiscard]] const std::optional<std::string>& text() const { return text_; }

private:
    std::optional<std::string> text_;
};

} // namespace velmora
