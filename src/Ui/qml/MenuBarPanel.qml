import QtQuick

// The tray panel: 350 wide and as tall as its content. The program hands the dropdown in
// as `content`, or as a file with its model through showContent(); until then the panel
// shows only its title.
Rectangle {
    id: root

    property Component content: titleOnly

    color: palette.window
    border.color: palette.mid
    border.width: 1
    implicitWidth: 350
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
            implicitHeight: 48

            Text {
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                text: "Velmora"
                color: palette.windowText
                font.pixelSize: 15
                font.weight: Font.DemiBold
            }
        }
    }
}
