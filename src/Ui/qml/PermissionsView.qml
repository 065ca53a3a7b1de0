import QtQuick
import QtQuick.Controls
import Velmora

// The onboarding: the two permissions with their live state, a diagnostics panel for
// support, and the way on once Accessibility is granted.
Item {
    id: root
    objectName: "permissionsView"

    required property QtObject onboarding

    implicitWidth: SettingsStyle.width
    implicitHeight: SettingsStyle.height

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        id: header
        objectName: "header"
        x: SettingsStyle.padding
        y: SettingsStyle.padding
        width: parent.width - 2 * SettingsStyle.padding
        spacing: SettingsStyle.headerSpacing

        Rectangle {
            objectName: "headerCircle"
            anchors.horizontalCenter: parent.horizontalCenter
            width: SettingsStyle.headerCircleDiameter
            height: width
            radius: width / 2
            antialiasing: true
            color: Qt.alpha(SettingsStyle.accent, SettingsStyle.headerCircleOpacity)

            Symbol {
                anchors.centerIn: parent
                name: root.onboarding.headerSymbol
                tint: SettingsStyle.accent
                size: SettingsStyle.headerSymbolSize
            }
        }

        Text {
            objectName: "title"
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.onboarding.title
            color: palette.windowText
            font.pixelSize: SettingsStyle.title3PixelSize
            font.bold: true
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.onboarding.subtitle
            color: SettingsStyle.secondary
            font.pixelSize: SettingsStyle.subheadlinePixelSize
        }
    }

    Flickable {
        id: scroll
        objectName: "sections"
        anchors.top: header.bottom
        anchors.topMargin: SettingsStyle.headerPaddingBottom
        anchors.bottom: footer.top
        anchors.left: header.left
        anchors.right: header.right
        clip: true
        contentWidth: width
        contentHeight: sections.height
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            id: bar
            objectName: "scrollBar"
            policy: scroll.scrolls ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }

        readonly property bool scrolls: sections.height > height

        Column {
            id: sections
            // The shown scroll bar keeps its own column: the cards' edges and the diagnostics
            // chevron stay clear of it.
            width: scroll.width - (scroll.scrolls ? bar.width : 0)
            spacing: SettingsStyle.sectionSpacing

            Column {
                width: parent.width
                spacing: SettingsStyle.sectionItemSpacing

                SymbolLabel {
                    objectName: "requiredSection"
                    symbol: root.onboarding.requiredSectionSymbol
                    text: root.onboarding.requiredSection
                    color: SettingsStyle.red
                    pixelSize: SettingsStyle.captionPixelSize
                    weight: Font.DemiBold
                }

                PermissionCard {
                    objectName: "accessibilityCard"
                    width: parent.width
                    card: root.onboarding.accessibilityCard
                }
            }

            Column {
                width: parent.width
                spacing: SettingsStyle.sectionItemSpacing

                SymbolLabel {
                    objectName: "recommendedSection"
                    symbol: root.onboarding.recommendedSectionSymbol
                    text: root.onboarding.recommendedSection
                    color: SettingsStyle.orange
                    pixelSize: SettingsStyle.captionPixelSize
                    weight: Font.DemiBold
                }

                PermissionCard {
                    objectName: "inputMonitoringCard"
                    width: parent.width
                    card: root.onboarding.inputMonitoringCard
                }

                Row {
                    objectName: "inputMonitoringInfo"
                    visible: root.onboarding.showsInputMonitoringInfo
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: SettingsStyle.infoRowSpacing

                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: root.onboarding.inputMonitoringInfoSymbol
                        tint: SettingsStyle.orange
                        size: SettingsStyle.caption2PixelSize
                    }

                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: root.onboarding.inputMonitoringInfo
                        color: SettingsStyle.secondary
                        font.pixelSize: SettingsStyle.caption2PixelSize
                    }
                }
            }

            Column {
                width: parent.width
                spacing: SettingsStyle.sectionItemSpacing

                Item {
                    objectName: "diagnosticsToggle"
                    width: parent.width
                    height: toggleLabel.height

                    SymbolLabel {
                        id: toggleLabel
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: root.onboarding.diagnosticsSymbol
                        text: root.onboarding.diagnosticsTitle
                        color: toggleArea.pressed ? SettingsStyle.secondary : palette.windowText
                        pixelSize: SettingsStyle.captionPixelSize
                        weight: Font.DemiBold
                    }

                    Symbol {
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        name: root.onboarding.diagnosticsChevron
                        tint: toggleLabel.color
                        size: SettingsStyle.captionPixelSize
                    }

                    MouseArea {
                        id: toggleArea
                        anchors.fill: parent
                        onClicked: root.onboarding.toggleDiagnostics()
                    }
                }

                Rectangle {
                    objectName: "diagnosticsPanel"
                    visible: root.onboarding.showDiagnostics
                    width: parent.width
                    height: visible ? panel.height + 2 * SettingsStyle.diagnosticsPadding : 0
                    radius: SettingsStyle.diagnosticsCornerRadius
                    antialiasing: true
                    color: palette.base

                    Column {
                        id: panel
                        x: SettingsStyle.diagnosticsPadding
                        y: SettingsStyle.diagnosticsPadding
                        width: parent.width - 2 * SettingsStyle.diagnosticsPadding
                        spacing: SettingsStyle.diagnosticsSpacing

                        Repeater {
                            model: root.onboarding.showDiagnostics ? root.onboarding.diagnosticRows
                                                                   : []

                            Row {
                                required property var modelData

                                width: panel.width
                                spacing: SettingsStyle.rowSpacing

                                Text {
                                    width: SettingsStyle.diagnosticsLabelWidth
                                    horizontalAlignment: Text.AlignRight
                                    text: parent.modelData.label
                                    color: SettingsStyle.secondary
                                    font.pixelSize: SettingsStyle.caption2PixelSize
                                }

                                TextEdit {
                                    width: parent.width - SettingsStyle.diagnosticsLabelWidth
                                           - parent.spacing
                                    readOnly: true
                                    selectByMouse: true
                                    wrapMode: TextEdit.WrapAnywhere
                                    text: parent.modelData.value
                                    color: parent.modelData.valueColor
                                    font.pixelSize: SettingsStyle.caption2PixelSize
                                    font.weight: Font.Medium
                                }
                            }
                        }

                        Text {
                            width: parent.width
                            topPadding: SettingsStyle.diagnosticsNoteSpacing
                            text: root.onboarding.diagnosticsHint
                            color: SettingsStyle.secondary
                            font.pixelSize: SettingsStyle.caption2PixelSize
                            wrapMode: Text.Wrap
                        }

                        Item {
                            width: copyButton.width
                            height: copyButton.height + SettingsStyle.diagnosticsNoteSpacing

                            SettingsButton {
                                id: copyButton
                                objectName: "copyButton"
                                y: SettingsStyle.diagnosticsNoteSpacing
                                small: true
                                title: root.onboarding.copyButtonTitle
                                symbol: root.onboarding.copyButtonSymbol
                                onClicked: root.onboarding.copyDiagnostics()
                            }
                        }
                    }
                }
            }
        }
    }

    Column {
        id: footer
        objectName: "bottom"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: SettingsStyle.padding
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: SettingsStyle.bottomSpacing

        SymbolLabel {
            objectName: "statusRow"
            anchors.horizontalCenter: parent.horizontalCenter
            symbol: root.onboarding.statusSymbol
            text: root.onboarding.statusText
            color: root.onboarding.statusColor
            pixelSize: SettingsStyle.subheadlinePixelSize
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: SettingsStyle.bottomButtonSpacing

            SettingsButton {
                objectName: "recheckAllButton"
                anchors.verticalCenter: parent.verticalCenter
                title: root.onboarding.recheckAllTitle
                symbol: root.onboarding.recheckAllSymbol
                onClicked: root.onboarding.recheckPermissions()
            }

            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: SettingsStyle.infoRowSpacing

                SettingsButton {
                    objectName: "continueButton"
                    visible: root.onboarding.continueButtonTitle !== ""
                    anchors.horizontalCenter: parent.horizontalCenter
                    prominent: true
                    minimumWidth: root.onboarding.continueOption
                                  === PermissionsViewAdaptor.ContinueButton
                                  ? SettingsStyle.continueMinimumWidth : 0
                    title: root.onboarding.continueButtonTitle
                    onClicked: root.onboarding.continueTapped()
                }

                Text {
                    objectName: "continueNote"
                    visible: text !== ""
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: root.onboarding.continueNote
                    color: root.onboarding.continueOption === PermissionsViewAdaptor.Unavailable
                           ? SettingsStyle.secondary : SettingsStyle.orange
                    font.pixelSize: SettingsStyle.captionPixelSize
                }
            }
        }
    }
}
