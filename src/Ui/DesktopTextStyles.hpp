#pragma once

namespace velmora {

/// This desktop's text styles in pixels, one size for each style the views name, shared by
/// the lock card, the password prompt and the settings window. The panel's popup sets its own,
/// smaller type.
struct DesktopTextStyles {
    static constexpr int title3 = 17;
    static constexpr int headline = 15;
    static constexpr int body = 14;
    static constexpr int subheadline = 13;
    static constexpr int caption = 12;
    static constexpr int caption2 = 11;
};

} // namespace velmora
