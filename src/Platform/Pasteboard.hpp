#pragma once

#include <string>

namespace velmora {

/// The general pasteboard (clipboard) that other applications paste from.
///
///     pasteboard.clearContents();
///     pasteboard.setString(diagnostics.formattedText());
class Pasteboard {
public:
    virtual ~Pasteboard() = default;
    virtual void clearContents() = 0;
    /// False when the pasteboard refused the text.
    virtual bool setString(const std::string& text) = 0;
};

} // namespace velmora
