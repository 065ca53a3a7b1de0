import QtQuick
import Velmora

// The tray panel: as wide as the dropdown and as tall as its content. The program hands the dropdown in
// as `content`, or as a file with its model through showContent(); until then the panel
// shows only its title.
Rectangle {
    id: root

    property Component content: titleOnly

    color: palette.window
    border.color: palette.mid
    border.width: 1
    implicitWidth: PanelStyle.width
    implicitHeight: loader.item ? loader.item.implicitHeight : 0

    function showContent(source, model) {
        loader.setSource(source, {model: model})
    }

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Shortcut {
        sequence: "Escape"
        onActivated: root.Window.window.hide()
    }

    Loader {
        id: loader
        objectName: "panelContent"
        width: root.width
        sourceComponent: root.content
    }

    Component {
        id: titleOnly

        Item {
            implicitHeight: title.implicitHeight + 2 * PanelStyle.sectionPadding

            Text {
                id: title
                x: PanelStyle.horizontalPadding
                anchors.verticalCenter: parent.verticalCenter
                text: PanelStyle.title
                color: palette.windowText
                font.pixelSize: PanelStyle.titleFontSize
                font.weight: Font.DemiBold
            }
        }
    }
}
