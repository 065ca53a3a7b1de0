#pragma once

#include "Platform/Linux/ApplicationIdentities.hpp"
#include "Support/ProcessId.hpp"

#include <xcb/xcb.h>

namespace velmora {

/// What a window says about its application, read over the guard's own connection: the
/// same properties Velmora reads, and the program its owner runs.
///
///     WindowIdentityReader reader(connection);
///     if (belongsTo(reader.read(window, pid), mail)) { iconify(window); }
class WindowIdentityReader {
public:
    explicit WindowIdentityReader(xcb_connection_t* connection);

    [[nodiscard]] WindowIdentity read(xcb_window_t window, ProcessId owner) const;

private:
    [[nodiscard]] std::optional<std::string> text(xcb_window_t window, xcb_atom_t property) const;

    xcb_connection_t* connection_;
    xcb_atom_t gtkApplicationId_;
    xcb_atom_t kdeDesktopFile_;
};

} // namespace velmora
