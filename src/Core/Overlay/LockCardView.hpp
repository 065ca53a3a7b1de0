#pragma once

#include "Platform/OwnerAuthentication.hpp"
#include "Services/FailedAttempts.hpp"
#include "Support/Color.hpp"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// The card in the middle of an overlay: the locked application's name, an Unlock button
/// and, when the caller allows it, a Minimize button. While failed attempts make the owner
/// wait, the card says how long and its Unlock button does nothing. Sizes are in points.
///
///     LockCardView card("Notes", unlock, minimize, contexts);
///     card.unlockTitle();    // "Unlock with Touch ID"
///     card.unlockTapped();   // runs `unlock`
struct LockCardView {
    using Action = std::function<void()>;

    struct Shadow {
        Color color;
        double radius;
        double offsetX;
        /// Downwards.
        double offsetY;
    };

    LockCardView(std::string appName, Action onUnlockTapped, Action onCancelTapped,
                 OwnerAuthenticationContextFactory biometryContexts,
                 std::shared_ptr<FailedAttempts> failedAttempts = nullptr);

    /// Shown verbatim, never translated.
    std::string appName;
    Action onUnlockTapped;
    /// Empty: no Minimize button, and an empty space of `bottomSpacerHeight` in its place.
    Action onCancelTapped;
    /// Asked for the sensor each time the Unlock button's label is drawn.
    OwnerAuthenticationContextFactory biometryContexts;
    /// May be null: no wait is shown then.
    std::shared_ptr<FailedAttempts> failedAttempts;

    Color brandPurple{0.6, 0.55, 0.9, 1.0};
    Color brandPurpleBackground{0.25, 0.25, 0.4, 1.0};

    /// View state: both start false whenever the content is rebuilt.
    bool isHovering = false;
    bool isUnlockPressed = false;

    static constexpr std::string_view subtitle = "is protected by Velmora";
    static constexpr std::string_view unlockTitlePrefix = "Unlock with ";
    static constexpr std::string_view minimizeTitle = "Minimize";
    static constexpr std::string_view minimizeTooltip = "Minimize the app and return later";
    static constexpr std::string_view lockSymbol = "lock.fill";
    static constexpr std::string_view minimizeSymbol = "minus.circle.fill";

    static constexpr double width = 280;
    static constexpr double cornerRadius = 16;
    /// Over the window background, top to bottom.
    static constexpr std::array<Color, 2> sheenGradient{Color::white(0.05), Color::clear()};
    static constexpr Shadow shadow{Color::black(0.3), 20, 0, 10};
    static constexpr double hoverScale = 1.02;
    static constexpr double hoverAnimationSeconds = 0.2;

    static constexpr double iconCircleDiameter = 72;
    static constexpr double lockSymbolSize = 32;
    static constexpr double iconPaddingTop = 24;
    static constexpr double iconPaddingBottom = 16;

    static constexpr double textSpacing = 4;
    static constexpr int appNameMaximumLines = 2;
    static constexpr double textPaddingHorizontal = 20;
    static constexpr double textPaddingBottom = 20;

    static constexpr double unlockLabelSpacing = 8;
    static constexpr double unlockSymbolSize = 18;
    static constexpr double unlockButtonHeight = 44;
    static constexpr double unlockButtonCornerRadius = 10;
    static constexpr double unlockButtonPaddingHorizontal = 20;
    static constexpr double unlockButtonPaddingBottom = 12;
    static constexpr double pressedScale = 0.97;
    /// The Unlock button while the owner must wait.
    static constexpr double waitingOpacity = 0.5;
    static constexpr double pressAnimationSeconds = 0.1;
    /// A press that moves further than this is no longer a press.
    static constexpr double pressMaximumDistance = 10;

    static constexpr double minimizeLabelSpacing = 4;
    static constexpr double minimizeSymbolSize = 12;
    static constexpr double minimizePaddingBottom = 16;
    static constexpr double bottomSpacerHeight = 16;

    [[nodiscard]] bool hasMinimizeButton() const { return static_cast<bool>(onCancelTapped); }
    /// "Unlock with " and the sensor's name, e.g. "Unlock with Touch ID".
    [[nodiscard]] std::string unlockTitle() const;
    /// The symbol beside the Unlock title, e.g. "touchid".
    [[nodiscard]] std::string_view unlockSymbol() const;

    /// "Try again in 30 s" while the owner must wait; nothing otherwise.
    [[nodiscard]] std::optional<std::string> unlockWaitText() const;

    /// The Unlock button was activated; nothing while the owner must wait.
    void unlockTapped() const;
    /// The Minimize button was activated; nothing when there is none.
    void minimizeTapped() const;

    [[nodiscard]] double scale() const { return isHovering ? hoverScale : 1.0; }
    [[nodiscard]] double unlockButtonScale() const { return isUnlockPressed ? pressedScale : 1.0; }
};

} // namespace velmora
