import QtQuick
import Velmora

// A hairline across the panel.
Rectangle {
    implicitHeight: PanelStyle.dividerThickness
    color: PanelStyle.divider
}
