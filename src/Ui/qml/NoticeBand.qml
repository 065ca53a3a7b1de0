import QtQuick
import Velmora

// A full-width band in the menu-bar panel that tells the owner something needs them: a
// symbol, a title, an optional detail line and up to two buttons on the right.
Rectangle {
    id: band

    property string symbol
    property string title
    property string detail
    property color tint: PanelStyle.red
    property string firstAction
    property string secondAction
    property bool busy: false

    signal firstClicked
    signal secondClicked

    implicitHeight: Math.max(texts.implicitHeight, buttons.implicitHeight)
                    + 2 * PanelStyle.warningPaddingVertical
    color: Qt.alpha(tint, PanelStyle.warningBandOpacity)

    Symbol {
        id: icon

        x: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        name: band.symbol
        tint: "white"
        size: PanelStyle.warningIconSize
    }

    Column {
        id: texts

        anchors.left: icon.right
        anchors.leftMargin: PanelStyle.warningSpacing
        anchors.right: buttons.left
        anchors.rightMargin: PanelStyle.warningSpacing
        anchors.verticalCenter: parent.verticalCenter

        Text {
            objectName: band.objectName + "Title"
            width: parent.width
            text: band.title
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: "white"
            font.pixelSize: PanelStyle.warningTitleFontSize
            font.weight: Font.DemiBold
        }

        Text {
            objectName: band.objectName + "Detail"
            visible: band.detail !== ""
            width: parent.width
            text: band.detail
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: PanelStyle.noticeDetailMaximumLines
            elide: Text.ElideRight
            color: Colors.tinted(PanelStyle.primary, PanelStyle.warningSubtitleOpacity)
            font.pixelSize: PanelStyle.warningSubtitleFontSize
        }
    }

    Column {
        id: buttons

        anchors.right: parent.right
        anchors.rightMargin: PanelStyle.horizontalPadding
        anchors.verticalCenter: parent.verticalCenter
        spacing: PanelStyle.sectionPadding
        enabled: !band.busy
        opacity: enabled ? 1 : PanelStyle.disabledOpacity

        PanelButton {
            objectName: band.objectName + "First"
            visible: band.firstAction !== ""
            anchors.right: parent.right
            text: band.firstAction
            fontWeight: Font.Medium
            tint: "white"
            fill: Colors.tinted(PanelStyle.primary, PanelStyle.noticeButtonFillOpacity)
            paddingHorizontal: PanelStyle.noticeButtonPaddingHorizontal
            paddingVertical: PanelStyle.noticeButtonPaddingVertical
            onClicked: band.firstClicked()
        }

        PanelButton {
            objectName: band.objectName + "Second"
            visible: band.secondAction !== ""
            anchors.right: parent.right
            text: band.secondAction
            fontWeight: Font.Medium
            tint: "white"
            fill: Colors.tinted(PanelStyle.primary, PanelStyle.noticeButtonFillOpacity)
            paddingHorizontal: PanelStyle.noticeButtonPaddingHorizontal
            paddingVertical: PanelStyle.noticeButtonPaddingVertical
            onClicked: band.secondClicked()
        }
    }
}
