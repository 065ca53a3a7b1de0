import QtQuick
import QtQuick.Controls
import Velmora

// The settings popover of the menu-bar panel: launch at login, the permission panes, the
// update check and About. `popup` is a SettingsPopupAdaptor, absent while it is closed.
Item {
    id: root

    property QtObject popup

    objectName: "settingsPopup"
    implicitWidth: PanelStyle.popupWidth
    implicitHeight: title.height + titleDivider.height + scroll.height

    component LinkButton: PanelButton {
        spacing: PanelStyle.popupButtonSpacing
        symbolSize: PanelStyle.popupButtonSymbolSize
        fontSize: PanelStyle.popupButtonFontSize
        tint: hovered ? Qt.lighter(PanelStyle.blue, PanelStyle.linkHoverLightening)
                      : PanelStyle.blue
    }

    component SectionTitle: Text {
        color: PanelStyle.secondary
        font.pixelSize: PanelStyle.captionFontSize
    }

    Item {
        id: title

        width: parent.width
        height: titleText.implicitHeight + PanelStyle.popupTitlePaddingTop
                + PanelStyle.popupTitlePaddingBottom

        Text {
            id: titleText

            objectName: "popupTitle"
            x: PanelStyle.popupTitlePaddingHorizontal
            y: PanelStyle.popupTitlePaddingTop
            text: PanelStyle.popupTitle
            color: PanelStyle.primary
            font.pixelSize: PanelStyle.headlineFontSize
            font.weight: Font.DemiBold
        }
    }

    PanelDivider {
        id: titleDivider
        y: title.height
        width: parent.width
    }

    Flickable {
        id: scroll

        objectName: "popupScroll"
        y: title.height + titleDivider.height
        width: parent.width
        height: Math.min(sections.implicitHeight, PanelStyle.popupMaximumScrollHeight)
        contentHeight: sections.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        ScrollBar.vertical: ScrollBar {
            policy: scroll.contentHeight > scroll.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }

        Column {
            id: sections

            width: scroll.width
            spacing: PanelStyle.popupSectionSpacing
            leftPadding: PanelStyle.popupContentPaddingHorizontal
            rightPadding: PanelStyle.popupContentPaddingHorizontal
            topPadding: PanelStyle.popupContentPaddingVertical
            bottomPadding: PanelStyle.popupContentPaddingVertical

            Column {
                width: sections.width - 2 * PanelStyle.popupContentPaddingHorizontal

                SectionTitle {
                    text: PanelStyle.generalSection
                }

                Item {
                    width: parent.width
                    height: Math.max(launchText.height, launchSwitch.height)

                    Column {
                        id: launchText

                        anchors.verticalCenter: parent.verticalCenter
                        width: parent.width - launchSwitch.width

                        Text {
                            text: PanelStyle.launchAtLoginTitle
                            color: PanelStyle.primary
                            font.pixelSize: PanelStyle.popupSwitchTitleFontSize
                        }

                        Text {
                            width: parent.width
                            text: PanelStyle.launchAtLoginSubtitle
                            color: PanelStyle.secondary
                            font.pixelSize: PanelStyle.popupSwitchSubtitleFontSize
                            wrapMode: Text.WordWrap
                        }
                    }

                    PanelSwitch {
                        id: launchSwitch

                        objectName: "launchAtLogin"
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        padding: 0
                        checked: root.popup ? root.popup.launchAtLogin : false
                        // Off shows only once the owner has authenticated.
                        onToggled: {
                            const wanted = checked
                            checked = Qt.binding(() => root.popup ? root.popup.launchAtLogin
                                                                  : false)
                            root.popup.setLaunchAtLogin(wanted)
                        }
                    }
                }
            }

            PanelDivider {
                width: sections.width - 2 * PanelStyle.popupContentPaddingHorizontal
            }

            Column {
                spacing: PanelStyle.popupButtonSpacing

                SectionTitle {
                    text: PanelStyle.permissionsSection
                }

                LinkButton {
                    objectName: "accessibilitySettings"
                    symbolFrame: PanelStyle.popupButtonSymbolWidth
                    symbol: PanelStyle.accessibilitySettingsSymbol
                    text: PanelStyle.accessibilitySettingsTitle
                    onClicked: root.popup.openAccessibilitySettings()
                }

                LinkButton {
                    objectName: "inputMonitoringSettings"
                    symbolFrame: PanelStyle.popupButtonSymbolWidth
                    symbol: PanelStyle.inputMonitoringSettingsSymbol
                    text: PanelStyle.inputMonitoringSettingsTitle
                    onClicked: root.popup.openInputMonitoringSettings()
                }
            }

            PanelDivider {
                width: sections.width - 2 * PanelStyle.popupContentPaddingHorizontal
            }

            Column {
                spacing: PanelStyle.popupButtonSpacing

                SectionTitle {
                    text: PanelStyle.updatesSection
                }

                LinkButton {
                    objectName: "checkForUpdates"
                    enabled: root.popup ? root.popup.canCheckForUpdates : false
                    opacity: enabled ? 1 : PanelStyle.disabledOpacity
                    symbol: PanelStyle.checkForUpdatesSymbol
                    text: PanelStyle.checkForUpdatesTitle
                    onClicked: root.popup.checkForUpdates()
                }
            }

            PanelDivider {
                width: sections.width - 2 * PanelStyle.popupContentPaddingHorizontal
            }

            Column {
                spacing: PanelStyle.popupButtonSpacing

                SectionTitle {
                    text: PanelStyle.aboutSection
                }

                Row {
                    spacing: PanelStyle.popupAboutSpacing

                    Image {
                        objectName: "appIcon"
                        visible: PanelStyle.appIconSource !== ""
                        anchors.verticalCenter: parent.verticalCenter
                        width: PanelStyle.popupAppIconSize
                        height: width
                        source: PanelStyle.appIconSource
                        sourceSize: Qt.size(width * 2, height * 2)
                        smooth: true
                    }

                    Symbol {
                        visible: PanelStyle.appIconSource === ""
                        anchors.verticalCenter: parent.verticalCenter
                        name: PanelStyle.appIconFallbackSymbol
                        tint: PanelStyle.blue
                        size: PanelStyle.popupAppIconSize
                    }

                    Column {
                        anchors.verticalCenter: parent.verticalCenter

                        Text {
                            text: PanelStyle.appName
                            color: PanelStyle.primary
                            font.pixelSize: PanelStyle.popupAppNameFontSize
                            font.weight: Font.DemiBold
                        }

                        Text {
                            objectName: "version"
                            text: root.popup ? root.popup.versionLine : ""
                            color: PanelStyle.secondary
                            font.pixelSize: PanelStyle.popupButtonFontSize
                        }
                    }
                }

                Column {
                    topPadding: PanelStyle.popupLinksPaddingTop
                    spacing: PanelStyle.popupButtonSpacing

                    LinkButton {
                        objectName: "website"
                        symbol: PanelStyle.websiteSymbol
                        text: PanelStyle.websiteTitle
                        onClicked: root.popup.openWebsite()
                    }

                    LinkButton {
                        objectName: "support"
                        symbol: PanelStyle.supportSymbol
                        text: PanelStyle.supportTitle
                        onClicked: root.popup.openSupport()
                    }
                }
            }
        }
    }
}
