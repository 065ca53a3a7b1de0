#pragma once

#include "Platform/OverlayWindows.hpp"
#include "Platform/WindowList.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace velmora {

class KWinShields;
class QtOverlayWindowFactory;

/// Lock cards on KDE Plasma's Wayland session: the overlay windows of the X11 desktop,
/// placed by the KWin script above everything and given the keyboard whenever the window
/// beneath is activated. A card is never unmapped while Velmora runs, only parked; one is
/// made at once so that the first lock shows without waiting for a first frame.
///
///     auto cards = std::make_shared<KWinOverlayWindowFactory>(shields, windowAt);
///     auto card = cards->makeWindow();
///     card->show(frame, content);
class KWinOverlayWindowFactory final : public OverlayWindowFactory {
public:
    /// The window a card placed over `frame` (in the compositor's coordinates) shields, if
    /// any; `previous` is the one it shielded last.
    using WindowAt = std::function<std::optional<WindowNumber>(
        Rect frame, std::optional<WindowNumber> previous)>;

    KWinOverlayWindowFactory(std::shared_ptr<KWinShields> shields, WindowAt windowAt);
    ~KWinOverlayWindowFactory() override;

    [[nodiscard]] std::shared_ptr<OverlayWindow> makeWindow() override;

private:
    class Card;

    std::shared_ptr<OverlayWindow> make();

    std::shared_ptr<KWinShields> shields_;
    WindowAt windowAt_;
    std::shared_ptr<QtOverlayWindowFactory> windows_;
    std::shared_ptr<OverlayWindow> ready_;
};

} // namespace velmora
