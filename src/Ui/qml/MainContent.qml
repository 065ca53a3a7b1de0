import QtQuick
import Velmora

// The settings window's root, as large as what it shows. The program hands the main content
// (onboarding or setup complete) in as `content`; until then it shows only a title.
Rectangle {
    id: root

    property Component content: titleOnly

    color: palette.window
    implicitWidth: loader.item ? loader.item.implicitWidth : 0
    implicitHeight: loader.item ? loader.item.implicitHeight : 0

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Loader {
        id: loader
        objectName: "mainContent"
        anchors.fill: parent
        sourceComponent: root.content
    }

    Component {
        id: titleOnly

        Item {
            implicitWidth: SettingsStyle.width
            implicitHeight: SettingsStyle.height

            Text {
                anchors.centerIn: parent
                text: PanelStyle.appName
                color: palette.windowText
                font.pixelSize: SettingsStyle.title3PixelSize
                font.weight: Font.DemiBold
            }
        }
    }
}
