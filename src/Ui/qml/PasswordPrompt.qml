import QtQuick
import QtQuick.Controls
import Velmora

// Velmora's password prompt: the reason, a message line, the masked field, Cancel and Unlock.
Rectangle {
    id: root

    property QtObject prompt: null
    readonly property bool editable: prompt !== null && prompt.waiting && !prompt.busy

    color: palette.window
    border.color: palette.mid
    border.width: 1
    implicitWidth: 360
    implicitHeight: content.implicitHeight + 2 * content.anchors.margins

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        id: content
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12

        Row {
            spacing: 12

            Rectangle {
                width: 40
                height: 40
                radius: 20
                color: LockCardStyle.brandPurpleBackground

                Symbol {
                    anchors.centerIn: parent
                    name: LockCardStyle.lockSymbol
                    tint: LockCardStyle.brandPurple
                    size: 18
                }
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: 2

                Text {
                    objectName: "reason"
                    width: 268
                    text: root.prompt ? root.prompt.reason : ""
                    textFormat: Text.PlainText
                    // The person must see what they are asked to authenticate for.
                    wrapMode: Text.Wrap
                    maximumLineCount: 3
                    elide: Text.ElideRight
                    font.pixelSize: LockCardStyle.headlinePixelSize
                    font.weight: Font.DemiBold
                    color: palette.windowText
                }
                Text {
                    text: qsTr("Enter your password to continue.")
                    font.pixelSize: LockCardStyle.subheadlinePixelSize
                    color: Qt.alpha(palette.windowText, 0.55)
                }
            }
        }

        Text {
            objectName: "message"
            width: parent.width
            height: LockCardStyle.subheadlinePixelSize + 4
            text: root.prompt ? root.prompt.message : ""
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: LockCardStyle.subheadlinePixelSize
            color: "#c0392b"
        }

        Rectangle {
            width: parent.width
            height: 32
            radius: 4
            color: palette.base
            border.color: passwordField.activeFocus ? palette.highlight : palette.mid
            border.width: passwordField.activeFocus ? 2 : 1
            opacity: root.editable ? 1 : 0.5

            // Keeps what is typed out of every Qt string and binding; shows bullets.
            PasswordField {
                id: passwordField
                objectName: "passwordField"
                anchors.fill: parent
                enabled: root.editable
                focus: true
                onAccepted: if (length > 0) root.prompt.submit()
            }
            Text {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                text: passwordField.length > 0 ? passwordField.displayText : qsTr("Password")
                elide: Text.ElideLeft
                color: passwordField.length > 0
                       ? palette.text
                       : Qt.alpha(palette.text, 0.45)
            }
        }

        Row {
            anchors.right: parent.right
            spacing: 10

            Button {
                id: cancelButton
                objectName: "cancelButton"
                text: qsTr("Cancel")
                enabled: root.prompt !== null && root.prompt.waiting
                onClicked: root.prompt.cancel()

                contentItem: Text {
                    text: cancelButton.text
                    color: palette.buttonText
                    opacity: cancelButton.enabled ? 1 : 0.5
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitWidth: 96
                    implicitHeight: 32
                    radius: LockCardStyle.unlockButtonCornerRadius
                    color: palette.button
                    border.color: palette.mid
                    scale: cancelButton.down ? LockCardStyle.pressedScale : 1
                }
            }
            Button {
                id: unlockButton
                objectName: "unlockButton"
                text: qsTr("Unlock")
                enabled: root.editable && passwordField.length > 0
                onClicked: root.prompt.submit()

                contentItem: Text {
                    text: unlockButton.text
                    font.weight: Font.Medium
                    color: LockCardStyle.brandPurple
                    opacity: unlockButton.enabled ? 1 : 0.5
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitWidth: 96
                    implicitHeight: 32
                    radius: LockCardStyle.unlockButtonCornerRadius
                    color: LockCardStyle.brandPurpleBackground
                    scale: unlockButton.down ? LockCardStyle.pressedScale : 1
                }
            }
        }
    }

    Shortcut {
        sequence: StandardKey.Cancel
        onActivated: if (root.prompt) root.prompt.cancel()
    }
}
