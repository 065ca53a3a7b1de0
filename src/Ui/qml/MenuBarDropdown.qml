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
    readonly property real arrowSize: PanelStyle.popoverArrowSize
    // The popover floats over the content; a short panel grows above it to make room.
    readonly property real popoverRoom: popover.visible
        ? Math.max(0, popover.implicitHeight + arrowSize + padding - (column.implicitHeight - bottomBar.height))
        : 0

    objectName: "dropdown"
    implicitWidth: PanelStyle.width
    implicitHeight: column.implicitHeight + popoverRoom
    color: PanelStyle.material

    Column {
        id: column

        anchors.bottom: parent.bottom
        width: parent.width

        DropdownHeader {
            width: parent.width
            model: root.model
        }

        Repeater {
            model: root.model.warningRows

            PermissionWarning {
                objectName: "warning" + index
                width: column.width
                row: modelData
                onClicked: root.model.warningTapped(index)
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

        ProtectedAppsSection {
            width: parent.width
            model: root.model
        }

        PanelDivider {
            width: parent.width
            opacity: PanelStyle.dividerOpacity
        }

        DropdownActions {
            width: parent.width
            model: root.model
        }

        PanelDivider {
            width: parent.width
            opacity: PanelStyle.dividerOpacity
        }

        DropdownBottomBar {
            id: bottomBar

            width: parent.width
            model: root.model
        }
    }

    function showSettingsPopover() {
        if (root.model.showSettingsPopover)
            popover.open()
        else
            popover.close()
    }

    // The panel's content is built anew each time it opens: a popover left open comes back.
    Component.onCompleted: showSettingsPopover()

    Connections {
        target: root.model

        function onShowSettingsPopoverChanged() {
            root.showSettingsPopover()
        }
    }

    Popup {
        id: popover

        objectName: "settingsPopover"
        parent: bottomBar.gear
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
                x: root.padding / 2 + bottomBar.gear.width / 2 - width / 2
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
