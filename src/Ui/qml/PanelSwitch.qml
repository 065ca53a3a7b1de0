import QtQuick
import QtQuick.Controls
import Velmora

// A switch drawn for the panel's dark material.
Switch {
    palette.button: PanelStyle.controlFill
    palette.buttonText: PanelStyle.primary
    palette.window: PanelStyle.controlFill
    palette.windowText: PanelStyle.primary
    palette.base: PanelStyle.controlFill
    palette.text: PanelStyle.primary
    palette.light: PanelStyle.primary
    palette.midlight: PanelStyle.controlFill
    palette.mid: PanelStyle.divider
    palette.dark: PanelStyle.accent
    palette.highlight: PanelStyle.accent
    palette.highlightedText: PanelStyle.primary
}
