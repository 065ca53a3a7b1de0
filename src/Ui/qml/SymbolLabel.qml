import QtQuick
import Velmora

// A symbol beside its text, both in one colour, the symbol as tall as the text's font.
Row {
    id: label

    property string symbol
    property string text
    property color color
    property int pixelSize
    property int weight: Font.Normal

    spacing: SettingsStyle.labelSpacing

    Symbol {
        visible: label.symbol !== ""
        anchors.verticalCenter: parent.verticalCenter
        name: label.symbol
        tint: label.color
        size: label.pixelSize
    }

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: label.text
        textFormat: Text.PlainText
        color: label.color
        font.pixelSize: label.pixelSize
        font.weight: label.weight
    }
}
