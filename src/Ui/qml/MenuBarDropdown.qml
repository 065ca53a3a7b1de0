import QtQuick
import QtQuick.Controls
import Velmora

// The menu-bar panel's content: status header, permission warnings, the protected
// applications, "Add App" and "Lock All", the settings popover and "Quit". `model` is a
// MenuBarDropdownAdaptor.
Rectangle {
    id: root

    property QtObject model
    readonly property real padding: PanelStyle.horizontalPadding
    readonly property real arrowSize: 8
    // The popover floats over the content; a short panel grows above it to make room.
    readonly property real popoverRoom: popover.visible
        ? Math.max(0, popover.implicitHeight + arrowSize + padding - (column.implicitHeight - bottomBar.height))
        : 0

    function tinted(color, opacity) {
        return Qt.rgba(color.r, color.g, color.b, color.a * opacity)
    }

    objectName: "dropdown"
    implicitWidth: PanelStyle.width
    implicitHeight: column.implicitHeight + popoverRoom
    color: PanelStyle.material

    Column {
        id: column

        anchors.bottom: parent.bottom
        width: parent.width

        Item {
            objectName: "header"
            width: parent.width
            height: title.implicitHeight + 2 * PanelStyle.sectionPadding

            Text {
                id: title

                objectName: "title"
                x: root.padding
                anchors.verticalCenter: parent.verticalCenter
                text: PanelStyle.title
                color: PanelStyle.primary
                font.pixelSize: PanelStyle.titleFontSize
                font.weight: Font.DemiBold
            }

            Row {
                anchors.right: parent.right
                anchors.rightMargin: root.padding
                anchors.verticalCenter: parent.verticalCenter
                spacing: PanelStyle.statusSpacing

                Rectangle {
                    objectName: "statusDot"
                    anchors.verticalCenter: parent.verticalCenter
                    width: PanelStyle.statusDotSize
                    height: width
                    radius: width / 2
                    color: PanelStyle[root.model.statusDotColor]
                }

                Text {
                    objectName: "statusText"
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.model.statusText
                    color: root.model.statusTextColor === "red"
                           ? root.tinted(PanelStyle.red, PanelStyle.notProtectedOpacity)
                           : PanelStyle[root.model.statusTextColor]
                    font.pixelSize: PanelStyle.statusFontSize
                    font.weight: Font.Medium
                }
            }
        }

        Repeater {
            model: root.model.warningRows

            Rectangle {
                objectName: "warning" + index
                width: column.width
                height: warningLine.implicitHeight + 2 * PanelStyle.warningPaddingVertical
                color: root.tinted(PanelStyle.red, warningMouse.containsMouse
                                   ? 1 : PanelStyle.warningBandOpacity)

                Row {
                    id: warningLine

                    x: root.padding
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: PanelStyle.warningSpacing
                    opacity: warningMouse.pressed ? 0.7 : 1

                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: modelData.symbol
                        tint: PanelStyle.yellow
                        size: PanelStyle.warningIconSize
                    }

                    Column {
                        width: column.width - 2 * root.padding - 2 * PanelStyle.warningSpacing
                               - PanelStyle.warningIconSize - PanelStyle.warningChevronSize

                        Text {
                            objectName: "warningTitle"
                            text: modelData.title
                            color: "white"
                            font.pixelSize: PanelStyle.warningTitleFontSize
                            font.weight: Font.DemiBold
                        }

                        Text {
                            text: modelData.subtitle
                            color: Qt.rgba(1, 1, 1, PanelStyle.warningSubtitleOpacity)
                            font.pixelSize: PanelStyle.warningSubtitleFontSize
                        }
                    }

                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: PanelStyle.warningChevronSymbol
                        tint: Qt.rgba(1, 1, 1, PanelStyle.warningChevronOpacity)
                        size: PanelStyle.warningChevronSize
                    }
                }

                MouseArea {
                    id: warningMouse

                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: root.model.warningTapped(index)
                }
            }
        }

        NoticeBand {
            objectName: "storedListNotice"
            visible: root.model.storedListNotice.title !== undefined
            width: parent.width
            symbol: PanelStyle.listNoticeSymbol
            title: visible ? root.model.storedListNotice.title : ""
            detail: visible ? root.model.storedListNotice.detail : ""
            firstAction: PanelStyle.restoreListTitle
            secondAction: PanelStyle.keepListTitle
            busy: root.model.noticeBusy
            onFirstClicked: root.model.restoreProtectedList()
            onSecondClicked: root.model.keepStoredList()
        }

        NoticeBand {
            objectName: "saveFailureNotice"
            visible: root.model.saveFailureNotice.title !== undefined
            width: parent.width
            tint: PanelStyle.orange
            symbol: PanelStyle.saveFailureSymbol
            title: visible ? root.model.saveFailureNotice.title : ""
            detail: visible ? root.model.saveFailureNotice.detail : ""
        }

        NoticeBand {
            objectName: "failedAttemptsNotice"
            visible: root.model.failedAttemptsText !== ""
            width: parent.width
            tint: PanelStyle.orange
            symbol: PanelStyle.failedAttemptsSymbol
            title: root.model.failedAttemptsText
            firstAction: PanelStyle.dismissTitle
            busy: root.model.noticeBusy
            onFirstClicked: root.model.dismissFailedAttempts()
        }

        PanelDivider {
            width: parent.width
            opacity: PanelStyle.dividerOpacity
        }

        Item {
            objectName: "sectionHeader"
            width: parent.width
            height: sectionTitle.implicitHeight + 2 * PanelStyle.sectionPadding

            Text {
                id: sectionTitle

                x: root.padding
                anchors.verticalCenter: parent.verticalCenter
                text: PanelStyle.protectedAppsTitle
                color: PanelStyle.secondary
                font.pixelSize: PanelStyle.sectionFontSize
                font.weight: Font.Medium
                font.letterSpacing: PanelStyle.sectionTracking
            }

            Text {
                objectName: "appCount"
                anchors.right: parent.right
                anchors.rightMargin: root.padding
                anchors.verticalCenter: parent.verticalCenter
                text: root.model.protectedAppCount
                color: PanelStyle.tertiary
                font.pixelSize: PanelStyle.sectionFontSize
                font.weight: Font.Medium
            }
        }

        Flickable {
            id: list

            objectName: "appList"
            visible: root.model.protectedAppCount > 0
            width: parent.width
            height: visible ? Math.min(rows.implicitHeight, PanelStyle.listMaximumHeight) : 0
            contentHeight: rows.implicitHeight
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            ScrollBar.vertical: ScrollBar {
                policy: list.contentHeight > list.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            Column {
                id: rows

                x: root.padding
                width: list.width - 2 * root.padding
                topPadding: PanelStyle.sectionPadding
                bottomPadding: PanelStyle.sectionPadding

                Repeater {
                    model: root.model.rows

                    Column {
                        width: rows.width

                        ProtectedAppRow {
                            objectName: "row" + index
                            width: parent.width
                            row: modelData
                        }

                        Item {
                            objectName: "rowDivider" + index
                            visible: index + 1 < root.model.protectedAppCount
                            width: parent.width
                            height: 1 + 2 * PanelStyle.rowDividerPadding

                            PanelDivider {
                                y: PanelStyle.rowDividerPadding
                                width: parent.width
                                opacity: PanelStyle.dividerOpacity
                            }
                        }
                    }
                }
            }
        }

        Column {
            objectName: "emptyPlaceholder"
            visible: root.model.protectedAppCount === 0
            width: parent.width
            topPadding: PanelStyle.emptyPaddingVertical
            bottomPadding: PanelStyle.emptyPaddingVertical
            spacing: PanelStyle.emptySpacing

            Symbol {
                objectName: "emptySymbol"
                anchors.horizontalCenter: parent.horizontalCenter
                name: PanelStyle.emptySymbol
                tint: PanelStyle.secondary
                size: PanelStyle.emptySymbolSize
            }

            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: PanelStyle.emptyText
                color: PanelStyle.secondary
                font.pixelSize: PanelStyle.captionFontSize
            }
        }

        PanelDivider {
            width: parent.width
            opacity: PanelStyle.dividerOpacity
        }

        Item {
            objectName: "actionRow"
            width: parent.width
            height: Math.max(addApp.height, lockAll.height) + 2 * PanelStyle.sectionPadding

            PanelButton {
                id: addApp

                objectName: "addApp"
                x: root.padding
                anchors.verticalCenter: parent.verticalCenter
                symbol: PanelStyle.addAppSymbol
                text: PanelStyle.addAppTitle
                fontWeight: Font.Medium
                tint: PanelStyle.accent
                fill: PanelStyle.accentFill
                paddingHorizontal: PanelStyle.actionPaddingHorizontal
                paddingVertical: PanelStyle.actionPaddingVertical
                onClicked: root.model.addApp()
            }

            PanelButton {
                id: lockAll

                objectName: "lockAll"
                anchors.right: parent.right
                anchors.rightMargin: root.padding
                anchors.verticalCenter: parent.verticalCenter
                enabled: root.model.lockAllEnabled
                opacity: enabled ? 1 : PanelStyle.disabledOpacity
                symbol: PanelStyle.lockAllSymbol
                symbolSize: PanelStyle.rowFontSize
                text: PanelStyle.lockAllTitle
                fontWeight: Font.Medium
                tint: PanelStyle.secondary
                fill: root.tinted(PanelStyle.secondary, PanelStyle.lockAllFillOpacity)
                paddingHorizontal: PanelStyle.actionPaddingHorizontal
                paddingVertical: PanelStyle.actionPaddingVertical
                onClicked: root.model.lockAll()
            }
        }

        PanelDivider {
            width: parent.width
            opacity: PanelStyle.dividerOpacity
        }

        Item {
            id: bottomBar

            objectName: "bottomBar"
            width: parent.width
            height: Math.max(gear.height, quit.height) + PanelStyle.sectionPadding
                    + PanelStyle.bottomBarPaddingBottom

            PanelButton {
                id: gear

                objectName: "gear"
                x: root.padding
                y: PanelStyle.sectionPadding
                symbol: PanelStyle.settingsSymbol
                symbolSize: PanelStyle.gearSize
                tint: gear.hovered ? PanelStyle.primary : PanelStyle.secondary
                onClicked: root.model.toggleSettingsPopover()
            }

            PanelButton {
                id: quit

                objectName: "quit"
                anchors.right: parent.right
                anchors.rightMargin: root.padding
                y: PanelStyle.sectionPadding
                text: PanelStyle.quitTitle
                tint: quit.hovered ? PanelStyle.primary : PanelStyle.secondary
                onClicked: root.model.quit()
            }
        }
    }

    Connections {
        target: root.model

        function onShowSettingsPopoverChanged() {
            if (root.model.showSettingsPopover)
                popover.open()
            else
                popover.close()
        }
    }

    Popup {
        id: popover

        objectName: "settingsPopover"
        parent: gear
        x: -root.padding / 2
        y: -implicitHeight - root.arrowSize
        padding: 0
        // A click on the gear toggles the popover itself.
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent
        onClosed: root.model.settingsPopoverClosed()

        background: Rectangle {
            color: PanelStyle.popover
            border.color: PanelStyle.divider
            radius: PanelStyle.rowCornerRadius

            Rectangle {
                x: root.padding / 2 + gear.width / 2 - width / 2
                y: parent.height - height / 2
                width: root.arrowSize * Math.SQRT2
                height: width
                rotation: 45
                color: parent.color
                border.color: parent.border.color
                z: -1
            }
        }

        contentItem: SettingsPopup {
            popup: root.model.settingsPopup
        }
    }
}
