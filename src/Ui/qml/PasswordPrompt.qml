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
    border.width: PasswordPromptStyle.outlineWidth
    implicitWidth: PasswordPromptStyle.width
    implicitHeight: content.implicitHeight + 2 * content.anchors.margins

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        id: content
        anchors.fill: parent
        anchors.margins: PasswordPromptStyle.padding
        spacing: PasswordPromptStyle.spacing

        Row {
            id: header
            width: parent.width
            spacing: PasswordPromptStyle.spacing

            Rectangle {
                id: badge
                width: PasswordPromptStyle.badgeDiameter
                height: width
                radius: width / 2
                color: LockCardStyle.brandPurpleBackground

                Symbol {
                    anchors.centerIn: parent
                    name: LockCardStyle.lockSymbol
                    tint: LockCardStyle.brandPurple
                    size: PasswordPromptStyle.badgeSymbolSize
                }
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: PasswordPromptStyle.titleSpacing

                Text {
                    objectName: "reason"
                    width: header.width - badge.width - header.spacing
                    text: root.prompt ? root.prompt.reason : ""
                    textFormat: Text.PlainText
                    // The person must see what they are asked to authenticate for.
                    wrapMode: Text.Wrap
                    maximumLineCount: PasswordPromptStyle.reasonMaximumLines
                    elide: Text.ElideRight
                    font.pixelSize: LockCardStyle.headlinePixelSize
                    font.weight: Font.DemiBold
                    color: palette.windowText
                }
                Text {
                    text: qsTr("Enter your password to continue.")
                    font.pixelSize: LockCardStyle.subheadlinePixelSize
                    color: Qt.alpha(palette.windowText, LockCardStyle.secondaryTextOpacity)
                }
            }
        }

        Text {
            objectName: "message"
            width: parent.width
            height: LockCardStyle.subheadlinePixelSize + PasswordPromptStyle.messageLeading
            text: root.prompt ? root.prompt.message : ""
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: LockCardStyle.subheadlinePixelSize
            color: PasswordPromptStyle.messageColor
        }

        Rectangle {
            width: parent.width
            height: PasswordPromptStyle.fieldHeight
            radius: PasswordPromptStyle.fieldCornerRadius
            color: palette.base
            border.color: passwordField.activeFocus ? palette.highlight : palette.mid
            border.width: passwordField.activeFocus ? PasswordPromptStyle.focusedOutlineWidth
                                                    : PasswordPromptStyle.outlineWidth
            opacity: root.editable ? 1 : PasswordPromptStyle.disabledOpacity

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
                anchors.leftMargin: PasswordPromptStyle.fieldTextInset
                anchors.rightMargin: PasswordPromptStyle.fieldTextInset
                anchors.verticalCenter: parent.verticalCenter
                text: passwordField.length > 0 ? passwordField.displayText : qsTr("Password")
                elide: Text.ElideLeft
                color: passwordField.length > 0
                       ? palette.text
                       : Qt.alpha(palette.text, PasswordPromptStyle.placeholderOpacity)
            }
        }

        Row {
            anchors.right: parent.right
            spacing: PasswordPromptStyle.buttonSpacing

            Button {
                id: cancelButton
                objectName: "cancelButton"
                text: qsTr("Cancel")
                enabled: root.prompt !== null && root.prompt.waiting
                onClicked: root.prompt.cancel()

                contentItem: Text {
                    text: cancelButton.text
                    color: palette.buttonText
                    opacity: cancelButton.enabled ? 1 : PasswordPromptStyle.disabledOpacity
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitWidth: PasswordPromptStyle.buttonWidth
                    implicitHeight: PasswordPromptStyle.buttonHeight
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
                    opacity: unlockButton.enabled ? 1 : PasswordPromptStyle.disabledOpacity
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitWidth: PasswordPromptStyle.buttonWidth
                    implicitHeight: PasswordPromptStyle.buttonHeight
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
