import QtQuick
import QtQuick.Controls
import Velmora

// One protected application in the menu-bar panel. Collapsed: icon, name with its idle
// time-out, lock badge and chevron; a click on the line expands it to the time-out picker,
// the auto-lock switch, "Lock Now" and "Remove". `row` is a ProtectedAppRowAdaptor.
Rectangle {
    id: rowItem

    property QtObject row
    property real expansion: row.isExpanded ? 1 : 0
    readonly property var badgeTint: ({
        inactive: PanelStyle.gray,
        unlocked: PanelStyle.unlocked,
        locked: PanelStyle.accent
    })
    readonly property var badgeFill: ({
        inactive: Colors.tinted(PanelStyle.gray, PanelStyle.inactiveFillOpacity),
        unlocked: PanelStyle.unlockedFill,
        locked: PanelStyle.accentFill
    })

    implicitHeight: line.height + controls.implicitHeight * expansion
    radius: PanelStyle.rowCornerRadius
    color: Colors.tinted(PanelStyle.primary, lineMouse.containsMouse ? 2 * PanelStyle.rowFillOpacity
                                                              : PanelStyle.rowFillOpacity)
    clip: true

    Behavior on expansion {
        NumberAnimation {
            duration: PanelStyle.expandAnimationMs
            easing.type: Easing.InOutQuad
        }
    }

    Item {
        id: line

        objectName: "line"
        width: parent.width
        height: PanelStyle.rowIconSize + 2 * PanelStyle.rowLinePaddingVertical

        MouseArea {
            id: lineMouse

            anchors.fill: parent
            hoverEnabled: true
            onClicked: rowItem.row.toggleExpanded()
        }

        Rectangle {
            id: icon

            objectName: "icon"
            x: PanelStyle.rowLinePaddingHorizontal
            anchors.verticalCenter: parent.verticalCenter
            width: PanelStyle.rowIconSize
            height: width
            radius: PanelStyle.rowIconCornerRadius
            color: appIcon.status === Image.Ready
                   ? "transparent"
                   : Colors.tinted(PanelStyle.secondary, PanelStyle.rowPlaceholderFillOpacity)

            SoftShadow {
                visible: appIcon.status === Image.Ready
                x: -margin
                y: -margin
                width: icon.width + 2 * margin
                height: icon.height + 2 * margin
                color: PanelStyle.rowIconShadow
                blurRadius: PanelStyle.rowIconShadowRadius
                cornerRadius: PanelStyle.rowIconCornerRadius
            }

            Symbol {
                anchors.centerIn: parent
                visible: appIcon.status !== Image.Ready
                name: PanelStyle.placeholderSymbol
                tint: PanelStyle.secondary
                size: PanelStyle.rowPlaceholderSymbolSize
            }

            Image {
                id: appIcon

                anchors.fill: parent
                source: rowItem.row.iconSource
                sourceSize: Qt.size(width * 2, height * 2)
                smooth: true
            }

            Component.onCompleted: rowItem.row.loadIcon()
        }

        Row {
            id: summary

            anchors.left: icon.right
            anchors.leftMargin: PanelStyle.rowLineSpacing
            anchors.verticalCenter: parent.verticalCenter
            spacing: PanelStyle.buttonLabelSpacing

            Text {
                objectName: "name"
                width: Math.min(implicitWidth, badge.x - PanelStyle.rowLineSpacing - summary.x
                                - (timeout.visible ? timeout.width + separator.width + 2 * summary.spacing : 0))
                text: rowItem.row.displayName
                color: PanelStyle.primary
                font.pixelSize: PanelStyle.rowFontSize
                font.weight: Font.Medium
                elide: Text.ElideRight
                maximumLineCount: 1
            }

            Text {
                id: separator

                visible: timeout.visible
                text: PanelStyle.summarySeparator
                color: PanelStyle.tertiary
                font.pixelSize: PanelStyle.rowFontSize
            }

            Text {
                id: timeout

                objectName: "timeout"
                visible: rowItem.row.summaryTimeout !== ""
                text: rowItem.row.summaryTimeout
                color: PanelStyle.tertiary
                font.pixelSize: PanelStyle.rowFontSize
            }
        }

        PanelButton {
            id: badge

            objectName: "badge"
            anchors.right: chevron.left
            anchors.rightMargin: PanelStyle.rowLineSpacing
            anchors.verticalCenter: parent.verticalCenter
            enabled: rowItem.row.badgeIsButton
            symbol: rowItem.row.badgeSymbol
            symbolSize: PanelStyle.badgeSymbolSize
            text: rowItem.row.badgeText
            fontSize: PanelStyle.rowFontSize
            fontWeight: Font.Medium
            tint: rowItem.badgeTint[rowItem.row.badge]
            fill: rowItem.badgeFill[rowItem.row.badge]
            radius: PanelStyle.badgeCornerRadius
            paddingHorizontal: PanelStyle.badgePaddingHorizontal
            paddingVertical: PanelStyle.badgePaddingVertical
            help: rowItem.row.badgeHelp
            onClicked: rowItem.row.badgeTapped()
        }

        Symbol {
            id: chevron

            objectName: "chevron"
            anchors.right: parent.right
            anchors.rightMargin: PanelStyle.rowLinePaddingHorizontal
            anchors.verticalCenter: parent.verticalCenter
            name: PanelStyle.chevronSymbol
            tint: PanelStyle.tertiary
            size: PanelStyle.rowFontSize
            rotation: 180 * rowItem.expansion
        }
    }

    Column {
        id: controls

        objectName: "controls"
        y: line.height
        width: parent.width
        visible: rowItem.expansion > 0
        spacing: PanelStyle.controlsSpacing

        PanelDivider {
            x: PanelStyle.rowDividerInset
            width: parent.width - 2 * PanelStyle.rowDividerInset
            opacity: PanelStyle.rowDividerOpacity
        }

        Item {
            width: parent.width
            height: picker.height

            Text {
                x: PanelStyle.controlsPaddingHorizontal
                anchors.verticalCenter: parent.verticalCenter
                text: PanelStyle.timeoutTitle
                color: PanelStyle.secondary
                font.pixelSize: PanelStyle.rowFontSize
            }

            ComboBox {
                id: picker

                objectName: "timeoutPicker"
                anchors.right: parent.right
                anchors.rightMargin: PanelStyle.controlsPaddingHorizontal
                width: PanelStyle.pickerWidth
                implicitHeight: PanelStyle.pickerHeight
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
                font.pixelSize: PanelStyle.rowFontSize
                model: rowItem.row.timeoutLabels
                currentIndex: rowItem.row.timeoutIndex
                // The choice shows only once it is made, which may wait for the password.
                onActivated: index => {
                    currentIndex = Qt.binding(() => rowItem.row.timeoutIndex)
                    rowItem.row.chooseTimeout(index)
                }
            }
        }

        Item {
            width: parent.width
            height: autoLock.height * PanelStyle.switchScale

            Text {
                x: PanelStyle.controlsPaddingHorizontal
                anchors.verticalCenter: parent.verticalCenter
                text: PanelStyle.autoLockTitle
                color: PanelStyle.secondary
                font.pixelSize: PanelStyle.rowFontSize
            }

            PanelSwitch {
                id: autoLock

                objectName: "autoLockSwitch"
                anchors.right: parent.right
                anchors.rightMargin: PanelStyle.controlsPaddingHorizontal
                             - width * (1 - PanelStyle.switchScale) / 2
                anchors.verticalCenter: parent.verticalCenter
                scale: PanelStyle.switchScale
                padding: 0
                checked: rowItem.row.autoLockEnabled
                onToggled: {
                    const wanted = checked
                    checked = Qt.binding(() => rowItem.row.autoLockEnabled)
                    rowItem.row.setAutoLockEnabled(wanted)
                }
            }
        }

        Item {
            width: parent.width
            height: remove.height + PanelStyle.buttonsPaddingBottom

            PanelButton {
                objectName: "lockNow"
                x: PanelStyle.controlsPaddingHorizontal
                visible: rowItem.row.showsLockNow
                symbol: PanelStyle.lockNowSymbol
                symbolSize: PanelStyle.badgeSymbolSize
                text: PanelStyle.lockNowTitle
                fontSize: PanelStyle.rowFontSize
                tint: PanelStyle.accent
                onClicked: rowItem.row.lockNow()
            }

            PanelButton {
                id: remove

                objectName: "remove"
                anchors.right: parent.right
                anchors.rightMargin: PanelStyle.controlsPaddingHorizontal
                enabled: !rowItem.row.isAuthenticatingRemoval
                symbol: rowItem.row.isAuthenticatingRemoval ? "" : PanelStyle.removeSymbol
                symbolSize: PanelStyle.badgeSymbolSize
                text: PanelStyle.removeTitle
                fontSize: PanelStyle.rowFontSize
                tint: Colors.tinted(PanelStyle.red, PanelStyle.removeOpacity)
                leadingInset: rowItem.row.isAuthenticatingRemoval
                             ? PanelStyle.progressSize + PanelStyle.buttonLabelSpacing : 0
                onClicked: rowItem.row.remove()

                BusyIndicator {
                    objectName: "removeProgress"
                    visible: rowItem.row.isAuthenticatingRemoval
                    running: visible
                    anchors.verticalCenter: parent.verticalCenter
                    width: PanelStyle.progressSize
                    height: width
                    padding: 0
                }
            }
        }
    }
}
