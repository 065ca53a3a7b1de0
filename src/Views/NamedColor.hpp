#pragma once

namespace velmora {

/// The platform's own colours that the views name rather than spell out in components:
/// system colours that adapt to the appearance, and the dynamic text styles.
enum class NamedColor {
    primary,
    secondary,
    tertiary,
    accent,
    red,
    orange,
    yellow,
    green,
    blue,
    gray
};

} // namespace velmora
