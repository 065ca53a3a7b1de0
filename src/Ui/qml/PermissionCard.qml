import QtQuick
import Velmora

// One permission in the onboarding view: its icon, title, status and what it is for, and,
// until it is granted, the numbered steps and the buttons to grant it.
Rectangle {
    id: root

    required property QtObject card
    readonly property color statusColor: card.statusColor

    implicitHeight: sections.height
    radius: SettingsStyle.cardCornerRadius
    antialiasing: true
    color: palette.base
    border.width: SettingsStyle.cardOutlineWidth
    border.color: Qt.alpha(statusColor, SettingsStyle.cardOutlineOpacity)

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        id: sections
        width: parent.width
        spacing: 0

        Item {
            objectName: "cardHeader"
            width: parent.width
            height: Math.max(tile.height, texts.height) + 2 * SettingsStyle.cardPadding

            Rectangle {
                id: tile
                objectName: "iconTile"
                x: SettingsStyle.cardPadding
                anchors.verticalCenter: parent.verticalCenter
                width: SettingsStyle.iconTileSize
                height: width
                radius: SettingsStyle.iconTileCornerRadius
                antialiasing: true
                color: Qt.alpha(root.statusColor, SettingsStyle.tintOpacity)

                Symbol {
                    anchors.centerIn: parent
                    name: root.card.iconSymbol
                    tint: root.statusColor
                    size: SettingsStyle.iconSymbolSize
                }
            }

            Column {
                id: texts
                anchors.left: tile.right
                anchors.leftMargin: SettingsStyle.cardHeaderSpacing
                anchors.right: parent.right
                anchors.rightMargin: SettingsStyle.cardPadding
                anchors.verticalCenter: parent.verticalCenter
                spacing: SettingsStyle.titleSpacing

                Item {
                    width: parent.width
                    height: Math.max(titleRow.height, statusBadge.height)

                    Row {
                        id: titleRow
                        anchors.verticalCenter: parent.verticalCenter
                        spacing: SettingsStyle.rowSpacing

                        Text {
                            objectName: "cardTitle"
                            anchors.verticalCenter: parent.verticalCenter
                            text: root.card.title
                            color: palette.windowText
                            font.pixelSize: SettingsStyle.subheadlinePixelSize
                            font.weight: Font.DemiBold
                        }

                        Rectangle {
                            objectName: "requiredBadge"
                            visible: root.card.badge !== ""
                            anchors.verticalCenter: parent.verticalCenter
                            width: badgeText.implicitWidth
                                   + 2 * SettingsStyle.requiredBadgePaddingHorizontal
                            height: badgeText.implicitHeight
                                    + 2 * SettingsStyle.requiredBadgePaddingVertical
                            radius: height / 2
                            color: SettingsStyle.red

                            Text {
                                id: badgeText
                                anchors.centerIn: parent
                                text: root.card.badge
                                color: "white"
                                font.pixelSize: SettingsStyle.requiredBadgeFontSize
                                font.bold: true
                            }
                        }
                    }

                    Rectangle {
                        id: statusBadge
                        objectName: "statusBadge"
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        width: statusLabel.implicitWidth
                               + 2 * SettingsStyle.statusBadgePaddingHorizontal
                        height: statusLabel.implicitHeight
                                + 2 * SettingsStyle.statusBadgePaddingVertical
                        radius: height / 2
                        color: Qt.alpha(root.statusColor, SettingsStyle.tintOpacity)

                        SymbolLabel {
                            id: statusLabel
                            objectName: "statusLabel"
                            anchors.centerIn: parent
                            spacing: SettingsStyle.statusBadgeSpacing
                            symbol: root.card.statusSymbol
                            text: root.card.statusText
                            color: root.statusColor
                            pixelSize: SettingsStyle.caption2PixelSize
                            weight: Font.Medium
                        }
                    }
                }

                Text {
                    width: parent.width
                    text: root.card.description
                    color: SettingsStyle.secondary
                    font.pixelSize: SettingsStyle.caption2PixelSize
                    wrapMode: Text.Wrap
                    maximumLineCount: SettingsStyle.descriptionMaximumLines
                    elide: Text.ElideRight
                }
            }
        }

        Column {
            objectName: "instructions"
            visible: root.card.showsInstructions
            width: parent.width
            spacing: SettingsStyle.sectionItemSpacing

            Rectangle {
                x: SettingsStyle.cardPadding
                width: parent.width - 2 * SettingsStyle.cardPadding
                height: 1
                color: Qt.alpha(palette.windowText, 0.12)
            }

            Column {
                objectName: "steps"
                x: SettingsStyle.cardPadding
                width: parent.width - 2 * SettingsStyle.cardPadding
                spacing: SettingsStyle.stepSpacing

                Repeater {
                    model: root.card.steps

                    Row {
                        required property int index
                        required property string modelData

                        spacing: SettingsStyle.stepRowSpacing

                        Text {
                            width: SettingsStyle.stepNumberWidth
                            horizontalAlignment: Text.AlignRight
                            text: (parent.index + 1) + "."
                            color: SettingsStyle.secondary
                            font.pixelSize: SettingsStyle.caption2PixelSize
                        }

                        Text {
                            text: parent.modelData
                            color: SettingsStyle.secondary
                            font.pixelSize: SettingsStyle.caption2PixelSize
                        }
                    }
                }
            }

            Item {
                width: parent.width
                height: buttons.height + SettingsStyle.cardPadding

                Row {
                    id: buttons
                    x: SettingsStyle.cardPadding
                    spacing: SettingsStyle.cardButtonSpacing

                    SettingsButton {
                        objectName: "openSettingsButton"
                        small: true
                        prominent: true
                        title: root.card.openSettingsTitle
                        symbol: root.card.openSettingsSymbol
                        onClicked: root.card.openSystemSettings()
                    }

                    SettingsButton {
                        objectName: "recheckButton"
                        small: true
                        title: root.card.recheckTitle
                        symbol: root.card.recheckSymbol
                        onClicked: root.card.recheck()
                    }

                    SettingsButton {
                        objectName: "quitButton"
                        visible: root.card.offersQuit
                        small: true
                        tint: SettingsStyle.orange
                        title: root.card.quitTitle
                        symbol: root.card.quitSymbol
                        onClicked: root.card.quit()
                    }
                }
            }
        }
    }
}
