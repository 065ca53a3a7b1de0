import QtQuick
import Velmora

// The note that setup is done; the program closes its window two seconds after it shows.
Item {
    id: root
    objectName: "setupCompleteView"

    required property QtObject mainContent

    implicitWidth: SettingsStyle.completeWidth
    implicitHeight: SettingsStyle.completeHeight

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        anchors.centerIn: parent
        spacing: SettingsStyle.completeSpacing

        Symbol {
            objectName: "setupCompleteSymbol"
            anchors.horizontalCenter: parent.horizontalCenter
            name: root.mainContent.setupCompleteSymbol
            tint: SettingsStyle.green
            size: SettingsStyle.completeSymbolSize
        }

        Text {
            objectName: "setupCompleteTitle"
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.mainContent.setupCompleteTitle
            color: palette.windowText
            font.pixelSize: SettingsStyle.headlinePixelSize
            font.weight: Font.DemiBold
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.mainContent.setupCompleteMessage
            color: SettingsStyle.secondary
            font.pixelSize: SettingsStyle.subheadlinePixelSize
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.mainContent.setupCompleteHint
            color: SettingsStyle.secondary
            font.pixelSize: SettingsStyle.captionPixelSize
        }
    }
}
