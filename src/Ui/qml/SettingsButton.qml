import QtQuick
import Velmora

// A push button of the settings window: "prominent" (filled with its tint, white label) or
// "bordered" (a light fill, the label in its tint, or in the text colour without one).
// Hover lightens it, a press darkens it.
Item {
    id: button

    property string title
    property string symbol
    property bool prominent: false
    property color tint: "transparent"
    property bool small: false
    property real minimumWidth: 0

    signal clicked

    readonly property bool tinted: tint.a > 0
    readonly property color lightFill: tinted ? tint : palette.windowText
    readonly property color fill: prominent
                                  ? (tinted ? tint : SettingsStyle.accent)
                                  : Colors.tinted(lightFill, tinted ? SettingsStyle.tintOpacity
                                                                    : SettingsStyle.buttonFillOpacity)
    readonly property color labelColor: prominent ? "white" : tinted ? tint : palette.windowText

    implicitWidth: Math.max(minimumWidth, label.implicitWidth
                             + 2 * (small ? SettingsStyle.smallButtonPaddingHorizontal
                                          : SettingsStyle.buttonPaddingHorizontal))
    implicitHeight: small ? SettingsStyle.smallButtonHeight : SettingsStyle.buttonHeight

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Rectangle {
        objectName: "face"
        anchors.fill: parent
        radius: SettingsStyle.buttonCornerRadius
        antialiasing: true
        color: button.fill
        border.width: button.prominent ? 0 : 1
        border.color: Colors.tinted(palette.windowText, SettingsStyle.buttonBorderOpacity)

        Rectangle {
            anchors.fill: parent
            radius: parent.radius
            antialiasing: true
            color: area.pressed ? SettingsStyle.buttonPressedShade
                                : area.containsMouse ? SettingsStyle.buttonHoverLight : "transparent"
        }
    }

    SymbolLabel {
        id: label
        anchors.centerIn: parent
        symbol: button.symbol
        text: button.title
        color: button.labelColor
        pixelSize: button.small ? SettingsStyle.captionPixelSize
                                : SettingsStyle.subheadlinePixelSize
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
