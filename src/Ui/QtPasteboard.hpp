#pragma once

#include "Platform/Pasteboard.hpp"

namespace velmora {

/// The desktop's clipboard. On X11 the text is served by this process, so it stays
/// pasteable only while the program runs; Velmora keeps running, so that is enough.
///
///     QtPasteboard pasteboard;
///     pasteboard.clearContents();
///     pasteboard.setString(diagnostics.formattedText());
class QtPasteboard final : public Pasteboard {
public:
    void clearContents() override;
    bool setString(const std::string& text) override;
};

} // namespace velmora
