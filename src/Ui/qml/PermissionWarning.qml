import QtQuick
import Velmora

// A missing permission as a red band; a click leads to where it is granted.
Rectangle {
    id: warning

    property var row

    signal clicked

    implicitHeight: line.implicitHeight + 2 * PanelStyle.warningPaddingVertical
    color: Colors.tinted(PanelStyle.red, mouse.containsMouse ? 1 : PanelStyle.warningBandOpacity)

    Row {
        id: line

        x: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        spacing: PanelStyle.warningSpacing
        opacity: mouse.pressed ? 0.7 : 1

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: warning.row.symbol
            tint: PanelStyle.yellow
            size: PanelStyle.warningIconSize
        }

        Column {
            width: warning.width - 2 * PanelStyle.horizontalPadding - 2 * PanelStyle.warningSpacing
                   - PanelStyle.warningIconSize - PanelStyle.warningChevronSize

            Text {
                objectName: "warningTitle"
                text: warning.row.title
                color: "white"
                font.pixelSize: PanelStyle.warningTitleFontSize
                font.weight: Font.DemiBold
            }

            Text {
                text: warning.row.subtitle
                color: Colors.tinted(PanelStyle.primary, PanelStyle.warningSubtitleOpacity)
                font.pixelSize: PanelStyle.warningSubtitleFontSize
            }
        }

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: PanelStyle.warningChevronSymbol
            tint: Colors.tinted(PanelStyle.primary, PanelStyle.warningChevronOpacity)
            size: PanelStyle.warningChevronSize
        }
    }

    MouseArea {
        id: mouse

        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: warning.clicked()
    }
}
