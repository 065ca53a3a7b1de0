import QtQuick
import Velmora

// "Add App" and "Lock All".
Item {
    id: actions

    required property QtObject model

    objectName: "actionRow"
    implicitHeight: Math.max(addApp.height, lockAll.height) + 2 * PanelStyle.sectionPadding

    PanelButton {
        id: addApp

        objectName: "addApp"
        x: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        symbol: PanelStyle.addAppSymbol
        text: PanelStyle.addAppTitle
        fontWeight: Font.Medium
        tint: PanelStyle.accent
        fill: PanelStyle.accentFill
        paddingHorizontal: PanelStyle.actionPaddingHorizontal
        paddingVertical: PanelStyle.actionPaddingVertical
        onClicked: actions.model.addApp()
    }

    PanelButton {
        id: lockAll

        objectName: "lockAll"
        anchors.right: parent.right
        anchors.rightMargin: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        enabled: actions.model.lockAllEnabled
        opacity: enabled ? 1 : PanelStyle.disabledOpacity
        symbol: PanelStyle.lockAllSymbol
        symbolSize: PanelStyle.rowFontSize
        text: PanelStyle.lockAllTitle
        fontWeight: Font.Medium
        tint: PanelStyle.secondary
        fill: Colors.tinted(PanelStyle.secondary, PanelStyle.lockAllFillOpacity)
        paddingHorizontal: PanelStyle.actionPaddingHorizontal
        paddingVertical: PanelStyle.actionPaddingVertical
        onClicked: actions.model.lockAll()
    }
}
