import QtQuick

// A bundled symbol drawn in one colour, `size` pixels square.
Image {
    property string name
    property color tint: "black"
    property real size: 24

    width: size
    height: size
    sourceSize: Qt.size(size, size)
    source: name === "" ? "" : "image://symbol/" + name + "?color=" + tint.toString().substring(1)
    fillMode: Image.PreserveAspectFit
}
