import QtQuick
import Velmora

// The card in the middle of an overlay: the locked application, Unlock, and Minimize when
// the caller allows it. Hover and press state start afresh with every new content.
Item {
    id: card
    objectName: "card"

    required property QtObject content
    readonly property bool isHovering: hover.hovered
    property bool isUnlockPressed: false

    readonly property color primaryColor: palette.windowText
    readonly property color secondaryColor: Qt.rgba(palette.windowText.r, palette.windowText.g,
                                                    palette.windowText.b, 0.55)

    width: LockCardStyle.width
    height: sections.height
    scale: isHovering ? LockCardStyle.hoverScale : 1.0
    Behavior on scale {
        NumberAnimation {
            duration: LockCardStyle.hoverAnimationMs
            easing.type: Easing.InOutQuad
        }
    }

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    HoverHandler {
        id: hover
    }

    SoftShadow {
        objectName: "cardShadow"
        x: -margin
        y: -margin + LockCardStyle.shadowOffsetY
        width: card.width + 2 * margin
        height: card.height + 2 * margin
        color: LockCardStyle.shadowColor
        blurRadius: LockCardStyle.shadowRadius
        cornerRadius: LockCardStyle.cornerRadius
    }

    RoundedPanel {
        objectName: "cardFace"
        anchors.fill: parent
        color: palette.window
        cornerRadius: LockCardStyle.cornerRadius
        sheen: LockCardStyle.cardSheen
    }

    // Clicks on the card itself are taken here, not by the cover beneath.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
    }

    Column {
        id: sections
        width: parent.width
        spacing: 0

        Item {
            width: parent.width
            height: LockCardStyle.iconPaddingTop + LockCardStyle.iconCircleDiameter
                    + LockCardStyle.iconPaddingBottom

            RoundedPanel {
                objectName: "iconCircle"
                y: LockCardStyle.iconPaddingTop
                anchors.horizontalCenter: parent.horizontalCenter
                width: LockCardStyle.iconCircleDiameter
                height: width
                cornerRadius: width / 2
                color: LockCardStyle.brandPurpleBackground

                Symbol {
                    objectName: "lockSymbol"
                    anchors.centerIn: parent
                    name: LockCardStyle.lockSymbol
                    tint: LockCardStyle.brandPurple
                    size: LockCardStyle.lockSymbolSize
                }
            }
        }

        Item {
            width: parent.width
            height: texts.height + LockCardStyle.textPaddingBottom

            Column {
                id: texts
                x: LockCardStyle.textPaddingHorizontal
                width: parent.width - 2 * LockCardStyle.textPaddingHorizontal
                spacing: LockCardStyle.textSpacing

                Text {
                    objectName: "appName"
                    width: parent.width
                    text: card.content.appName
                    textFormat: Text.PlainText
                    font.pixelSize: LockCardStyle.headlinePixelSize
                    font.weight: Font.DemiBold
                    color: card.primaryColor
                    wrapMode: Text.Wrap
                    maximumLineCount: LockCardStyle.appNameMaximumLines
                    elide: Text.ElideRight
                    horizontalAlignment: Text.AlignHCenter
                }

                Text {
                    objectName: "subtitle"
                    width: parent.width
                    text: LockCardStyle.subtitle
                    font.pixelSize: LockCardStyle.subheadlinePixelSize
                    color: card.secondaryColor
                    horizontalAlignment: Text.AlignHCenter
                }
            }
        }

        Item {
            width: parent.width
            height: LockCardStyle.unlockButtonHeight + LockCardStyle.unlockButtonPaddingBottom

            RoundedPanel {
                objectName: "unlockButton"
                x: LockCardStyle.unlockButtonPaddingHorizontal
                width: parent.width - 2 * LockCardStyle.unlockButtonPaddingHorizontal
                height: LockCardStyle.unlockButtonHeight
                cornerRadius: LockCardStyle.unlockButtonCornerRadius
                color: LockCardStyle.brandPurpleBackground
                opacity: card.content.unlockWait === "" ? 1 : LockCardStyle.waitingOpacity
                scale: card.isUnlockPressed ? LockCardStyle.pressedScale : 1.0
                Behavior on scale {
                    NumberAnimation {
                        duration: LockCardStyle.pressAnimationMs
                        easing.type: Easing.InOutQuad
                    }
                }

                Row {
                    anchors.centerIn: parent
                    spacing: LockCardStyle.unlockLabelSpacing

                    Symbol {
                        objectName: "unlockSymbol"
                        anchors.verticalCenter: parent.verticalCenter
                        name: card.content.unlockSymbol
                        tint: LockCardStyle.brandPurple
                        size: LockCardStyle.unlockSymbolSize
                    }
                    Text {
                        objectName: "unlockTitle"
                        anchors.verticalCenter: parent.verticalCenter
                        text: card.content.unlockTitle
                        font.pixelSize: LockCardStyle.bodyPixelSize
                        font.weight: Font.Medium
                        color: LockCardStyle.brandPurple
                    }
                }

                MouseArea {
                    objectName: "unlockArea"
                    property point pressedAt

                    anchors.fill: parent
                    // Taken, yet doing nothing, while failed attempts make the owner wait.
                    enabled: card.content.unlockWait === ""
                    onPressed: mouse => {
                        pressedAt = Qt.point(mouse.x, mouse.y)
                        card.isUnlockPressed = true
                    }
                    // A press that wanders off is no longer shown as one.
                    onPositionChanged: mouse => {
                        if (Math.hypot(mouse.x - pressedAt.x, mouse.y - pressedAt.y)
                                > LockCardStyle.pressMaximumDistance)
                            card.isUnlockPressed = false
                    }
                    onReleased: card.isUnlockPressed = false
                    onCanceled: card.isUnlockPressed = false
                    onClicked: card.content.unlock()
                }
            }
        }

        Text {
            objectName: "unlockWait"
            visible: card.content.unlockWait !== ""
            width: parent.width
            bottomPadding: LockCardStyle.unlockButtonPaddingBottom
            text: card.content.unlockWait
            font.pixelSize: LockCardStyle.subheadlinePixelSize
            color: card.secondaryColor
            horizontalAlignment: Text.AlignHCenter
        }

        Item {
            objectName: "minimizeSection"
            visible: card.content.hasMinimizeButton
            width: parent.width
            height: minimizeButton.height + LockCardStyle.minimizePaddingBottom

            Item {
                id: minimizeButton
                objectName: "minimizeButton"
                anchors.horizontalCenter: parent.horizontalCenter
                width: minimizeLabel.width
                height: minimizeLabel.height

                Row {
                    id: minimizeLabel
                    spacing: LockCardStyle.minimizeLabelSpacing

                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: LockCardStyle.minimizeSymbol
                        tint: card.secondaryColor
                        size: LockCardStyle.minimizeSymbolSize
                    }
                    Text {
                        objectName: "minimizeTitle"
                        anchors.verticalCenter: parent.verticalCenter
                        text: LockCardStyle.minimizeTitle
                        font.pixelSize: LockCardStyle.subheadlinePixelSize
                        font.weight: Font.Medium
                        color: card.secondaryColor
                    }
                }

                HoverHandler {
                    id: minimizeHover
                    onHoveredChanged: tooltip.due = false
                }
                MouseArea {
                    objectName: "minimizeArea"
                    anchors.fill: parent
                    onClicked: card.content.minimize()
                }

                // Drawn by the card itself: Qt Quick Controls would be loaded for it alone.
                Rectangle {
                    id: tooltip
                    objectName: "minimizeTooltip"
                    property bool due: false

                    visible: due && minimizeHover.hovered
                    x: (parent.width - width) / 2
                    y: -height - LockCardStyle.tooltipGap
                    width: tooltipText.implicitWidth + 2 * LockCardStyle.tooltipPadding
                    height: tooltipText.implicitHeight + 2 * LockCardStyle.tooltipPadding
                    color: LockCardStyle.tooltipColor
                    border.color: LockCardStyle.tooltipTextColor

                    Text {
                        id: tooltipText
                        anchors.centerIn: parent
                        text: LockCardStyle.minimizeTooltip
                        color: LockCardStyle.tooltipTextColor
                    }
                    Timer {
                        interval: LockCardStyle.tooltipDelayMs
                        running: minimizeHover.hovered && !tooltip.due
                        onTriggered: tooltip.due = true
                    }
                }
            }
        }

        Item {
            objectName: "bottomSpacer"
            visible: !card.content.hasMinimizeButton
            width: parent.width
            height: LockCardStyle.bottomSpacerHeight
        }
    }
}
