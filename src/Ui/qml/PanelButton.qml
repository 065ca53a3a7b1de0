import QtQuick
import QtQuick.Controls
import Velmora

// A borderless button of the menu-bar panel: the label is the button, on an optional
// rounded fill. Hovered, the fill lightens; pressed, the label dims.
Rectangle {
    id: button

    property string symbol
    property real symbolSize: PanelStyle.actionFontSize
    // A column of buttons lines their texts up by giving their symbols one width.
    property real symbolFrame: 0
    property string text
    property real fontSize: PanelStyle.actionFontSize
    property int fontWeight: Font.Normal
    property color tint: PanelStyle.primary
    property real spacing: PanelStyle.buttonLabelSpacing
    property real paddingHorizontal: 0
    property real paddingVertical: 0
    // Room before the label for something the user of the button puts there.
    property real leadingInset: 0
    property string help
    property color fill: "transparent"
    readonly property bool hovered: mouse.containsMouse
    readonly property bool pressed: mouse.pressed

    signal clicked

    implicitWidth: leadingInset + label.implicitWidth + 2 * paddingHorizontal
    implicitHeight: label.implicitHeight + 2 * paddingVertical
    radius: PanelStyle.actionCornerRadius
    color: hovered && fill.a > 0 ? Qt.lighter(fill, PanelStyle.buttonHoverLightening) : fill

    ToolTip.text: help
    ToolTip.visible: help !== "" && hovered
    ToolTip.delay: PanelStyle.tooltipDelayMs

    Row {
        id: label

        x: button.paddingHorizontal + button.leadingInset
        y: button.paddingVertical
        spacing: button.spacing
        opacity: mouse.pressed ? 0.6 : 1

        Symbol {
            objectName: button.objectName + "Symbol"
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol !== ""
            width: Math.max(button.symbolSize, button.symbolFrame)
            name: button.symbol
            tint: button.tint
            size: button.symbolSize
        }

        Text {
            objectName: button.objectName + "Text"
            anchors.verticalCenter: parent.verticalCenter
            visible: button.text !== ""
            text: button.text
            color: button.tint
            font.pixelSize: button.fontSize
            font.weight: button.fontWeight
        }
    }

    MouseArea {
        id: mouse

        anchors.fill: parent
        enabled: button.enabled
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: button.clicked()
    }
}
