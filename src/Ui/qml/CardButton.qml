import QtQuick
import Velmora

// One of the lock card's buttons: a symbol and a title, on a rounded fill when it has one.
// A press shows while it stays near where it began; `help`, if any, shows after a short hover.
Item {
    id: button

    // "unlock" names the button "unlockButton", its parts "unlockSymbol", "unlockTitle", ...
    required property string name
    property string symbol
    property real symbolSize
    property string title
    property int fontSize
    property color tint
    property real spacing
    property color fill: "transparent"
    property real cornerRadius: 0
    property string help
    property bool pressable: false
    property bool isPressed: false

    signal clicked

    objectName: name + "Button"
    implicitWidth: label.width
    implicitHeight: label.height
    scale: isPressed ? LockCardStyle.pressedScale : 1.0
    Behavior on scale {
        NumberAnimation {
            duration: LockCardStyle.pressAnimationMs
            easing.type: Easing.InOutQuad
        }
    }

    RoundedPanel {
        visible: button.fill.a > 0
        anchors.fill: parent
        cornerRadius: button.cornerRadius
        color: button.fill
    }

    Row {
        id: label

        anchors.centerIn: parent
        spacing: button.spacing

        Symbol {
            objectName: button.name + "Symbol"
            anchors.verticalCenter: parent.verticalCenter
            name: button.symbol
            tint: button.tint
            size: button.symbolSize
        }
        Text {
            objectName: button.name + "Title"
            anchors.verticalCenter: parent.verticalCenter
            text: button.title
            font.pixelSize: button.fontSize
            font.weight: Font.Medium
            color: button.tint
        }
    }

    HoverHandler {
        id: hover
        onHoveredChanged: tooltip.due = false
    }

    MouseArea {
        objectName: button.name + "Area"
        property point pressedAt

        anchors.fill: parent
        enabled: button.enabled
        onPressed: mouse => {
            pressedAt = Qt.point(mouse.x, mouse.y)
            button.isPressed = button.pressable
        }
        // A press that wanders off is no longer shown as one.
        onPositionChanged: mouse => {
            if (Math.hypot(mouse.x - pressedAt.x, mouse.y - pressedAt.y)
                    > LockCardStyle.pressMaximumDistance)
                button.isPressed = false
        }
        onReleased: button.isPressed = false
        onCanceled: button.isPressed = false
        onClicked: button.clicked()
    }

    // Drawn by the card itself: Qt Quick Controls would be loaded for it alone.
    Rectangle {
        id: tooltip
        objectName: button.name + "Tooltip"
        property bool due: false

        visible: due && hover.hovered
        x: (parent.width - width) / 2
        y: -height - LockCardStyle.tooltipGap
        width: tooltipText.implicitWidth + 2 * LockCardStyle.tooltipPadding
        height: tooltipText.implicitHeight + 2 * LockCardStyle.tooltipPadding
        color: LockCardStyle.tooltipColor
        border.color: LockCardStyle.tooltipTextColor

        Text {
            id: tooltipText
            anchors.centerIn: parent
            text: button.help
            color: LockCardStyle.tooltipTextColor
        }
        Timer {
            interval: LockCardStyle.tooltipDelayMs
            running: button.help !== "" && hover.hovered && !tooltip.due
            onTriggered: tooltip.due = true
        }
    }
}
