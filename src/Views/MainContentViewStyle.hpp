#pragma once

namespace velmora {

/// The settings window's setup-complete content, in points and seconds.
struct MainContentViewStyle {
    static constexpr double width = 300;
    static constexpr double height = 200;
    static constexpr double spacing = 16;
    static constexpr double symbolSize = 48;
    /// Ease-in-out, when Accessibility is granted or withdrawn.
    static constexpr double contentSwitchAnimationSeconds = 0.3;
};

} // namespace velmora
