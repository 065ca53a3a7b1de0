import QtQuick
import QtQuick.Controls
import Velmora

// The protected applications: a titled count, then their rows, scrolling past a maximum
// height, or a placeholder while there are none.
Column {
    id: section

    required property QtObject model
    readonly property real padding: PanelStyle.horizontalPadding

    Item {
        objectName: "sectionHeader"
        width: parent.width
        height: sectionTitle.implicitHeight + 2 * PanelStyle.sectionPadding

        Text {
            id: sectionTitle

            x: section.padding
            anchors.verticalCenter: parent.verticalCenter
            text: PanelStyle.protectedAppsTitle
            color: PanelStyle.secondary
            font.pixelSize: PanelStyle.sectionFontSize
            font.weight: Font.Medium
            font.letterSpacing: PanelStyle.sectionTracking
        }

        Text {
            objectName: "appCount"
            anchors.right: parent.right
            anchors.rightMargin: section.padding
            anchors.verticalCenter: parent.verticalCenter
            text: section.model.protectedAppCount
            color: PanelStyle.tertiary
            font.pixelSize: PanelStyle.sectionFontSize
            font.weight: Font.Medium
        }
    }

    Flickable {
        id: list

        objectName: "appList"
        visible: section.model.protectedAppCount > 0
        width: parent.width
        height: visible ? Math.min(rows.implicitHeight, PanelStyle.listMaximumHeight) : 0
        contentHeight: rows.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        ScrollBar.vertical: ScrollBar {
            policy: list.contentHeight > list.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }

        Column {
            id: rows

            x: section.padding
            width: list.width - 2 * section.padding
            topPadding: PanelStyle.sectionPadding
            bottomPadding: PanelStyle.sectionPadding

            Repeater {
                model: section.model.rows

                Column {
                    width: rows.width

                    ProtectedAppRow {
                        objectName: "row" + index
                        width: parent.width
                        row: modelData
                    }

                    Item {
                        objectName: "rowDivider" + index
                        visible: index + 1 < section.model.protectedAppCount
                        width: parent.width
                        height: 1 + 2 * PanelStyle.rowDividerPadding

                        PanelDivider {
                            y: PanelStyle.rowDividerPadding
                            width: parent.width
                            opacity: PanelStyle.dividerOpacity
                        }
                    }
                }
            }
        }
    }

    Column {
        objectName: "emptyPlaceholder"
        visible: section.model.protectedAppCount === 0
        width: parent.width
        topPadding: PanelStyle.emptyPaddingVertical
        bottomPadding: PanelStyle.emptyPaddingVertical
        spacing: PanelStyle.emptySpacing

        Symbol {
            objectName: "emptySymbol"
            anchors.horizontalCenter: parent.horizontalCenter
            name: PanelStyle.emptySymbol
            tint: PanelStyle.secondary
            size: PanelStyle.emptySymbolSize
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: PanelStyle.emptyText
            color: PanelStyle.secondary
            font.pixelSize: PanelStyle.captionFontSize
        }
    }
}
