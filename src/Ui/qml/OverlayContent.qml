import QtQuick
import Velmora

// The whole of an overlay window: the dark cover, which swallows every click, and the lock
// card in its centre.
Item {
    id: root

    property QtObject content: null

    RoundedPanel {
        objectName: "cover"
        anchors.fill: parent
        color: LockCardStyle.coverColor
        sheen: LockCardStyle.coverSheen
        diagonal: true
    }

    MouseArea {
        objectName: "coverArea"
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onClicked: if (root.content) root.content.backgroundClicked()
    }

    Loader {
        anchors.centerIn: parent
        active: root.content !== null
        sourceComponent: LockCard {
            content: root.content
        }
    }
}
