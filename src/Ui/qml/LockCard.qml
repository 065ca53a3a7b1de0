import QtQuick
import Velmora

// The card in the middle of an overlay: the locked application, Unlock, and Minimize when
// the caller allows it. Hover and press state start afresh with every new content.
Item {
    id: card
    objectName: "card"

    required property QtObject content
    readonly property bool isHovering: hover.hovered

    readonly property color primaryColor: palette.windowText
    readonly property color secondaryColor: Qt.alpha(palette.windowText,
                                                      LockCardStyle.secondaryTextOpacity)

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

            CardButton {
                name: "unlock"
                x: LockCardStyle.unlockButtonPaddingHorizontal
                width: parent.width - 2 * LockCardStyle.unlockButtonPaddingHorizontal
                height: LockCardStyle.unlockButtonHeight
                cornerRadius: LockCardStyle.unlockButtonCornerRadius
                fill: LockCardStyle.brandPurpleBackground
                // Taken by the card, yet doing nothing, while failed attempts make the owner
                // wait.
                enabled: card.content.unlockWait === ""
                opacity: enabled ? 1 : LockCardStyle.waitingOpacity
                pressable: true
                symbol: card.content.unlockSymbol
                symbolSize: LockCardStyle.unlockSymbolSize
                title: card.content.unlockTitle
                fontSize: LockCardStyle.bodyPixelSize
                tint: LockCardStyle.brandPurple
                spacing: LockCardStyle.unlockLabelSpacing
                onClicked: card.content.unlock()
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

            CardButton {
                id: minimizeButton
                name: "minimize"
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: LockCardStyle.minimizeSymbol
                symbolSize: LockCardStyle.minimizeSymbolSize
                title: LockCardStyle.minimizeTitle
                fontSize: LockCardStyle.subheadlinePixelSize
                tint: card.secondaryColor
                spacing: LockCardStyle.minimizeLabelSpacing
                help: LockCardStyle.minimizeTooltip
                onClicked: card.content.minimize()
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
