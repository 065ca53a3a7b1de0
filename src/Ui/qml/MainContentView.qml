import QtQuick
import Velmora

// The settings window's content: the onboarding until setup is done, then the setup-complete
// note. A switch after the first showing fades the new content in.
Item {
    id: root

    readonly property QtObject model: mainContent

    function show(animated) {
        // Given once, not bound: the outgoing content must not see the next one's model.
        loader.source = "";
        if (model.setupComplete) {
            loader.setSource("SetupCompleteView.qml", {mainContent: model});
        } else if (model.onboarding) {
            loader.setSource("PermissionsView.qml", {onboarding: model.onboarding});
        }
        if (animated && loader.item) {
            fadeIn.restart();
        }
    }

    implicitWidth: loader.item ? loader.item.implicitWidth : 0
    implicitHeight: loader.item ? loader.item.implicitHeight : 0

    Loader {
        id: loader
        objectName: "content"
        anchors.fill: parent
    }

    NumberAnimation {
        id: fadeIn
        target: loader.item
        property: "opacity"
        from: 0
        to: 1
        duration: SettingsStyle.contentSwitchAnimationMs
        easing.type: Easing.InOutQuad
    }

    Connections {
        target: root.model
        function onContentChanged() {
            root.show(true);
        }
    }

    Component.onCompleted: show(false)
}
