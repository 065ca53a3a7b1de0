import QtQuick
import Velmora

// The top of the panel: its title, and whether Velmora protects anything now.
Item {
    id: header

    required property QtObject model

    objectName: "header"
    implicitHeight: title.implicitHeight + 2 * PanelStyle.sectionPadding

    Text {
        id: title

        objectName: "title"
        x: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        text: PanelStyle.title
        color: PanelStyle.primary
        font.pixelSize: PanelStyle.titleFontSize
        font.weight: Font.DemiBold
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        spacing: PanelStyle.statusSpacing

        Rectangle {
            objectName: "statusDot"
            anchors.verticalCenter: parent.verticalCenter
            width: PanelStyle.statusDotSize
            height: width
            radius: width / 2
            color: header.model.statusDotColor
        }

        Text {
            objectName: "statusText"
            anchors.verticalCenter: parent.verticalCenter
            text: header.model.statusText
            color: header.model.statusTextColor
            font.pixelSize: PanelStyle.statusFontSize
            font.weight: Font.Medium
        }
    }
}
