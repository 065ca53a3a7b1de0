#pragma once

#include "Platform/CoverWindows.hpp"
#include "Platform/Linux/X11FocusGrabs.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/XcbConnection.hpp"

#include <memory>

namespace velmora {

/// Covers as bare override-redirect X windows: the server fills them black, so they are
/// opaque from the moment they map and cost no drawing; they select every pointer event, so
/// clicks, the wheel and drags over them end there. Each is restacked as the sibling directly
/// above the covered window's frame, and holds a focus-in grab on that window while shown.
///
///     X11CoverWindows covers(connection, screens, focusGrabs);
///     auto cover = covers.makeCover();
///     cover->show({frameWindow, placedFrame, 0});
class X11CoverWindows final : public CoverWindowFactory {
public:
    X11CoverWindows(std::shared_ptr<XcbConnection> connection,
                    std::shared_ptr<const X11Screens> screens,
                    std::shared_ptr<X11FocusGrabs> focusGrabs);

    [[nodiscard]] std::unique_ptr<CoverWindow> makeCover() override;

private:
    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<const X11Screens> screens_;
    std::shared_ptr<X11FocusGrabs> focusGrabs_;
};

} // namespace velmora
