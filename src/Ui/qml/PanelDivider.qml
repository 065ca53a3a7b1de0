import QtQuick
import Velmora

// A hairline across the panel.
Rectangle {
    implicitHeight: 1
    color: PanelStyle.divider
}
