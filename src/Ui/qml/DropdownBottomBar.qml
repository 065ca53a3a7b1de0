import QtQuick
import Velmora

// The settings gear and "Quit".
Item {
    id: bar

    required property QtObject model
    readonly property alias gear: gear

    objectName: "bottomBar"
    implicitHeight: Math.max(gear.height, quit.height) + PanelStyle.sectionPadding
                    + PanelStyle.bottomBarPaddingBottom

    PanelButton {
        id: gear

        objectName: "gear"
        x: PanelStyle.horizontalPadding
        y: PanelStyle.sectionPadding
        symbol: PanelStyle.settingsSymbol
        symbolSize: PanelStyle.gearSize
        tint: gear.hovered ? PanelStyle.primary : PanelStyle.secondary
        onClicked: bar.model.toggleSettingsPopover()
    }

    PanelButton {
        id: quit

        objectName: "quit"
        anchors.right: parent.right
        anchors.rightMargin: PanelStyle.horizontalPadding
        y: PanelStyle.sectionPadding
        text: PanelStyle.quitTitle
        tint: quit.hovered ? PanelStyle.primary : PanelStyle.secondary
        onClicked: bar.model.quit()
    }
}
